#pragma once

#include "codelists/CodeListWindow.h"

#include <functional>

class DBCheckBox;
class DBEdit;
class QComboBox;

// The customer register: customers in seven sort orders, their contact data and flags,
// deletion with their cards and activities, an e-mail to the customer, a listing.
class TCisZakazniku : public CodeListWindow
{
    Q_OBJECT
public:
    // openCustomerId tells which customer the main window has open (0: none).
    TCisZakazniku(AppContext& context, std::function<int()> openCustomerId, QWidget* parent);

    // The column of each sort order, by the index of the sort box.
    static const QStringList& sortColumns();
    int sortIndex() const;

    // The listing of the customer on screen.
    QString listingText() const;
    // The e-mail button: a mail to the address in the e-mail field.
    void sendEmail();
    // Re-sorts by the order chosen in the sort box; asks first when a row is being edited.
    void sortChosen(int index);

protected:
    void exportTable() override;
    void showListing() override;
    void afterClose() override;

private:
    void buildFields(class AnchorLayout* layout);
    void buildStrips(class AnchorLayout* layout);
    void openSorted(int index);
    bool validate();
    bool mayDelete();
    void deleteCustomer();

    QComboBox* m_sort = nullptr;
    DBEdit* m_nameEdit = nullptr;
    DBEdit* m_email = nullptr;
    QList<DBEdit*> m_textFields;
    QList<DBCheckBox*> m_checks;
    int m_openedIndex = 0;
    std::function<int()> m_openCustomerId;
};
