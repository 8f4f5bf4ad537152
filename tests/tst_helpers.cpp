// The message, input and formatting helpers and their windows.
#include "helpers/ConversionError.h"
#include "helpers/TextConversions.h"
#include "store/DatabaseError.h"
#include "support/FindChild.h"
#include "support/TestDialogs.h"
#include "support/TestMain.h"
#include "uikit/DatePickerDialog.h"
#include "uikit/Dialogs.h"
#include "uikit/Guard.h"
#include "uikit/QtDialogBackend.h"
#include "uikit/TextWindow.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

class TestHelpers : public QObject
{
    Q_OBJECT
private slots:
    void captionsDefaultToTheApplicationTitle()
    {
        TestDialogs dialogs;
        ShowInfo(QStringLiteral("a"));
        ShowWarning(QString(), QStringLiteral("b"));
        ShowInfo(QStringLiteral("Vlastní"), QStringLiteral("c"));
        ShowPlainMessage(QStringLiteral("d"));
        dialogs.answerQuestion(Answer::No);
        QCOMPARE(AskQuestion(QStringLiteral("e"), QuestionKind::YesNo), Answer::No);
        dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"), QStringLiteral("a"));
        dialogs.takeMessage(MessageKind::Warning, QStringLiteral("Vestibor"), QStringLiteral("b"));
        dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vlastní"), QStringLiteral("c"));
        dialogs.takeMessage(MessageKind::Plain, QStringLiteral("Vestibor"), QStringLiteral("d"));
        dialogs.takeQuestion(QuestionKind::YesNo, QStringLiteral("Vestibor"), QStringLiteral("e"));
    }

    // The real box: buttons and icon by kind, "\r\n" shown as a line break, No preselected
    // so that Enter right away answers No; Esc answers Storno where there is one, else No.
    void theQuestionBoxOfEachKind_data()
    {
        QTest::addColumn<QuestionKind>("kind");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::addColumn<QStringList>("buttons");
        const QStringList yesNo{QStringLiteral("&Ano"), QStringLiteral("&Ne")}; // Alt+A, Alt+N
        const QStringList withStorno = yesNo + QStringList{QStringLiteral("Storno")};
        QTest::newRow("yes or no") << QuestionKind::YesNo << QMessageBox::Question << yesNo;
        QTest::newRow("yes or no, a warning") << QuestionKind::YesNoWarning << QMessageBox::Warning << yesNo;
        QTest::newRow("yes, no or storno")
            << QuestionKind::YesNoCancel << QMessageBox::Question << withStorno;
        QTest::newRow("yes, no or storno, a warning")
            << QuestionKind::YesNoCancelWarning << QMessageBox::Warning << withStorno;
    }
    void theQuestionBoxOfEachKind()
    {
        QFETCH(QuestionKind, kind);
        QFETCH(QMessageBox::Icon, icon);
        QFETCH(QStringList, buttons);
        QtDialogBackend backend;
        const Answer onEscape = buttons.size() == 3 ? Answer::Cancel : Answer::No;
        for (const auto& [key, answer] :
             {std::pair(Qt::Key_Return, Answer::No), std::pair(Qt::Key_Escape, onEscape)}) {
            QString shown; // title, text, icon, whether No is the default, the buttons
            QTimer::singleShot(0, [&, key = key] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QStringList seen{box->windowTitle(), box->text(), QString::number(box->icon()),
                                 QVariant(box->defaultButton() == box->button(QMessageBox::No)).toString()};
                QStringList texts;
                for (QAbstractButton* button : box->buttons())
                    texts << button->text();
                texts.sort();
                shown = (seen + texts).join(u'|');
                QTest::keyClick(box, key);
            });
            QCOMPARE(backend.question(QStringLiteral("Pozor"), QStringLiteral("a\r\nb"), kind), answer);
            QCOMPARE(shown, (QStringList{QStringLiteral("Pozor"), QStringLiteral("a\nb"),
                                         QString::number(icon), QStringLiteral("true")} +
                             buttons)
                                .join(u'|'));
        }
    }

    void pickDateChangesOnlyForAnotherDay()
    {
        TestDialogs dialogs;
        QDate date(2024, 3, 5);
        dialogs.answerDate(QDate(2024, 3, 5));
        QVERIFY(!PickDate(date, QStringLiteral("Datum"), 10, 20));
        dialogs.answerDate(std::nullopt);
        QVERIFY(!PickDate(date, QStringLiteral("Datum"), 10, 20));
        QCOMPARE(date, QDate(2024, 3, 5));
        dialogs.answerDate(QDate(2024, 4, 1));
        QVERIFY(PickDate(date, QStringLiteral("Datum"), 10, 20));
        QCOMPARE(date, QDate(2024, 4, 1));
        QCOMPARE(dialogs.datePositions.last(), QPoint(10, 20));
    }

    void datePickerOkNeedsAClickIntoTheCalendar()
    {
        DatePickerDialog dialog(QDate(2024, 3, 5), QStringLiteral("Datum"), QPoint(100, 200));
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Datum"));
        QCOMPARE(dialog.pos(), QPoint(100, 200));
        QVERIFY(!dialog.okButton()->isEnabled());
        QVERIFY(dialog.okButton()->isDefault());
        QCOMPARE(dialog.calendar()->objectName(), QStringLiteral("MonthCalendar1"));
        emit dialog.calendar()->clicked(QDate(2024, 3, 9));
        QVERIFY(dialog.okButton()->isEnabled());
        dialog.calendar()->setSelectedDate(QDate(2024, 3, 9));
        QCOMPARE(dialog.selectedDate(), QDate(2024, 3, 9));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    // After a click into the calendar the keyboard is there; Enter confirms the day.
    void enterInTheCalendarConfirms()
    {
        DatePickerDialog dialog(QDate(2024, 3, 5), QStringLiteral("Datum"), QPoint(100, 200));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* days = child<QAbstractItemView>(*dialog.calendar());
        const QModelIndex today = days->currentIndex();
        QTest::mouseClick(days->viewport(), Qt::LeftButton, {}, days->visualRect(today).center());
        QVERIFY(dialog.okButton()->isEnabled());
        QTest::keyClick(days, Qt::Key_Right);
        QTest::keyClick(days, Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.selectedDate(), QDate(2024, 3, 6));
    }

    void textWindowHonoursItsOptions()
    {
        TextWindow window({.caption = QStringLiteral("Výpis"),
                           .text = QStringLiteral("a\r\nb"),
                           .width = 500,
                           .height = 600,
                           .scrollBars = TextScrollBars::VerticalOnly,
                           .fixedFont = true});
        window.show();
        QCOMPARE(window.size(), QSize(500, 600));
        // The frame of every modal window of the program: fixed, a title and a close box only.
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QCOMPARE(window.windowFlags(), Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        QCOMPARE(window.windowTitle(), QStringLiteral("Výpis"));
        QCOMPARE(window.textField()->toPlainText(), QStringLiteral("a\nb"));
        QCOMPARE(window.textField()->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(window.textField()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(window.textField()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QVERIFY(window.textField()->font().fixedPitch());
        QVERIFY(!window.textField()->isReadOnly());

        TextWindow wrapped({.caption = QStringLiteral("x"),
                            .width = 200,
                            .height = 100,
                            .wordWrap = true,
                            .scrollBars = TextScrollBars::None,
                            .readOnly = true});
        QCOMPARE(wrapped.textField()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(wrapped.textField()->isReadOnly());

        // The bars of each choice: horizontal, then vertical.
        const std::pair<TextScrollBars, QString> bars[] = {
            {TextScrollBars::Both, QStringLiteral("on on")},
            {TextScrollBars::HorizontalOnly, QStringLiteral("on off")},
            {TextScrollBars::None, QStringLiteral("off off")},
            {TextScrollBars::VerticalOnly, QStringLiteral("off on")}};
        for (const auto& [choice, shown] : bars) {
            const TextWindow field({.scrollBars = choice});
            const auto state = [](Qt::ScrollBarPolicy p) {
                return p == Qt::ScrollBarAlwaysOn ? QStringLiteral("on") : QStringLiteral("off");
            };
            QCOMPARE(state(field.textField()->horizontalScrollBarPolicy()) + u' ' +
                         state(field.textField()->verticalScrollBarPolicy()),
                     shown);
        }
    }

    void showTextWindowUsesTheTitleWhenNoCaption()
    {
        TestDialogs dialogs;
        ShowTextWindow({.text = QStringLiteral("t"), .width = 550, .height = 460});
        QCOMPARE(dialogs.textWindows.last().caption, QStringLiteral("Vestibor"));
        QCOMPARE(dialogs.textWindows.last().width, 550);
    }

    void normalizeDecimalText_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::newRow("zero") << "0"
                              << "0,00";
        QTest::newRow("empty") << ""
                               << "0,00";
        QTest::newRow("letters") << "abc"
                                 << "";
        QTest::newRow("negative point") << "-3.5"
                                        << "-3,5";
        QTest::newRow("currency") << "12.50 Kč"
                                  << "12,50";
        QTest::newRow("thousands") << "1 234,5"
                                   << "1234,5";
    }
    void normalizeDecimalText()
    {
        QFETCH(QString, in);
        QFETCH(QString, out);
        QCOMPARE(NormalizeDecimalText(in), out);
    }

    void textToInteger_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<int>("out");
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("letters") << "abc" << 0;
        QTest::newRow("sign inside") << "1-2" << 0;
        QTest::newRow("pieces") << "+15 ks" << 15;
        QTest::newRow("negative") << "-42" << -42;
        QTest::newRow("overflow") << "99999999999" << 0;
        QTest::newRow("two signs") << "--5" << 0;
    }
    void textToInteger()
    {
        QFETCH(QString, in);
        QFETCH(int, out);
        QCOMPARE(TextToInteger(in), out);
    }

    void textToDateTime_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QDateTime>("out"); // invalid: a conversion error
        const auto at = [](int y, int m, int d, int h = 0, int n = 0, int s = 0) {
            return QDateTime(QDate(y, m, d), QTime(h, n, s));
        };
        QTest::newRow("leading zeros") << "05.03.2024" << at(2024, 3, 5);
        QTest::newRow("with time") << "5.3.2024 14:30" << at(2024, 3, 5, 14, 30);
        QTest::newRow("with seconds") << "5.3.2024 14:30:15" << at(2024, 3, 5, 14, 30, 15);
        // Two-digit years: up to 49 this century, from 50 the last one.
        QTest::newRow("year 24") << "5.3.24" << at(2024, 3, 5);
        QTest::newRow("year 49") << "5.3.49" << at(2049, 3, 5);
        QTest::newRow("year 50") << "5.3.50" << at(1950, 3, 5);
        QTest::newRow("year 99") << "5.3.99" << at(1999, 3, 5);
        QTest::newRow("year 00") << "1.1.00" << at(2000, 1, 1);
        QTest::newRow("three-digit year") << "5.3.202" << QDateTime();
        QTest::newRow("one-digit year") << "5.3.4" << QDateTime();
        QTest::newRow("iso form") << "2024-03-05" << QDateTime();
        QTest::newRow("no such day") << "31.2.2024" << QDateTime();
        QTest::newRow("no such hour") << "5.3.2024 25:00" << QDateTime();
    }
    void textToDateTime()
    {
        QFETCH(QString, in);
        QFETCH(QDateTime, out);
        if (out.isValid())
            QCOMPARE(TextToDateTime(in), out);
        else
            QVERIFY_THROWS_EXCEPTION(ConversionError, TextToDateTime(in));
    }

    void smallConversions()
    {
        QCOMPARE(YesNoText(true), QStringLiteral("ano"));
        QCOMPARE(YesNoText(false), QStringLiteral("ne"));
        QCOMPARE(RemoveChar(QStringLiteral("&Jan &Novák&"), u'&'), QStringLiteral("Jan Novák"));
        QCOMPARE(RemoveChar(QString(), u'&'), QString());
        // The major and minor numbers of the version the package carries.
        QCOMPARE(ProgramVersionText(), QStringLiteral(VESTIBOR_PROJECT_VERSION).section(u'.', 0, 1));
        QCOMPARE(valueFromColor(colorFromValue(0x61AFAF)), 0x61AFAF);
        QCOMPARE(colorFromValue(0xFF0000), QColor(0, 0, 255));
    }

    void errorsNoOneHandlesReachTheGeneralReport()
    {
        TestDialogs dialogs;
        QVERIFY(!runGuarded([] { throw DatabaseError(QStringLiteral("no such table: x")); }));
        dialogs.takeMessage(MessageKind::Error, QStringLiteral("Vestibor"),
                            QStringLiteral("no such table: x"));
        QVERIFY(runGuarded([] {}));
    }
};

VESTIBOR_TEST_MAIN(TestHelpers)
#include "tst_helpers.moc"
