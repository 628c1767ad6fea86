#pragma once

#include "route/GtfsImport.h"
#include "route/GtfsRouteChoice.h"

#include <QDialog>

class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QTreeWidget;

// "GTFSから取り込む…": the routes of a feed with their directions, the route
// number the imported route gets, and how its tickets are numbered and its
// platforms named.
class GtfsImportDialog : public QDialog
{
    Q_OBJECT

public:
    GtfsImportDialog(const std::vector<GtfsRouteChoice> &routes, const QString &routeNumber, QWidget *parent = nullptr);

    // The chosen route and direction with the number and the choices.
    GtfsImport::Request request() const;

private:
    void updateOk();

    QTreeWidget *m_routes;
    QLineEdit *m_number;
    QComboBox *m_tickets;
    QComboBox *m_names;
    QDialogButtonBox *m_buttons;
};
