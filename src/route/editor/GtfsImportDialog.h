#pragma once

#include "route/GtfsImport.h"
#include "route/GtfsRouteChoice.h"

#include <QDialog>

class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QTreeWidget;

// "GTFSから取り込む…": the routes of a feed with their directions, how the
// imported route's tickets are numbered and its platforms named, and the
// route number it gets: the digits of the chosen route's short name, or,
// when it has none, the number the author types (never the number of the
// route open in the editor, whose files it would replace).
class GtfsImportDialog : public QDialog
{
    Q_OBJECT

public:
    explicit GtfsImportDialog(const std::vector<GtfsRouteChoice> &routes, QWidget *parent = nullptr);

    // The chosen route and direction with the number and the choices.
    GtfsImport::Request request() const;

private:
    void updateOk();
    void proposeNumber();

    QTreeWidget *m_routes;
    QLineEdit *m_number;
    QComboBox *m_tickets;
    QComboBox *m_names;
    QDialogButtonBox *m_buttons;
    bool m_numberTyped = false; // the author's own number outlives a change of route
};
