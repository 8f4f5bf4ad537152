#pragma once

#include "helpers/Settings.h"

#include <QDialog>

class QCheckBox;
class QFrame;
class QPushButton;

// The environment settings dialog: the colours of the two record panels and four switches.
// "Ok" stays disabled until something has been changed.
class TKonfig : public QDialog
{
    Q_OBJECT
public:
    TKonfig(const Settings& current, QWidget* parent);

    // The settings in force with what the dialog holds.
    Settings chosenSettings() const;

private:
    QFrame* colorPanel(const QString& name, int color, int y);
    void setPanelColor(QFrame* panel, int color);
    void pickColor(QFrame* panel);
    void changed();

    Settings m_settings;
    QFrame* m_cardColor;
    QFrame* m_activityColor;
    QCheckBox* m_askBeforeSaving;
    QCheckBox* m_closePrintForm;
    QCheckBox* m_directDateEditing;
    QCheckBox* m_passwordAtStart;
    QPushButton* m_ok;
};
