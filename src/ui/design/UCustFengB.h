#pragma once
// Customer and edge-banding fields shared by the windows that save an order position:
// picking the customer from the customer list and filling the banding list from the
// dictionary's "封边" entries.

class QComboBox;
class QLineEdit;
class QWidget;

// Fills the list with the names of the dictionary's "封边" entries and selects the
// first; the typed text is replaced.
void LoadFengBList(QComboBox* list);

// Opens the customer list modally; afterwards the name and ID fields hold what was
// chosen there, both empty when the list was closed without choosing.
void PickCustomer(QWidget* parent, QLineEdit* custName, QLineEdit* custID);

// Opens the dictionary modally and reloads the banding list afterwards.
void EditFengBDictionary(QWidget* parent, QComboBox* list);

// Lets the single-cabinet designer's 选柜体 and 图库 use the library browser and the
// category chooser. Windows that open the designer call it first.
void InstallDesignLibraryWindows();
