#pragma once

#include "route/GtfsImport.h"
#include "route/GtfsRouteChoice.h"

#include <QDialog>

class QDialogButtonBox;
class QLineEdit;
class QTreeWidget;

// "GTFSから取り込む…": the routes of a feed with their directions, and the
// route number the imported route gets.
class GtfsImportDialog : public QDialog
{
    Q_OBJECT

public:
    GtfsImportDialog(const std::vector<GtfsRouteChoice> &routes, const QString &routeNumber, QWidget *parent = nullptr);

    // The chosen route and direction with the number.
    GtfsImport::Request request() const;

private:
    void updateOk();

    QTreeWidget *m_routes;
    QLineEdit *m_number;
    QDialogButtonBox *m_buttons;
};
