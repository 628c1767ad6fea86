#include "GtfsImportDialog.h"

#include "fare/RouteNumber.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Role { RouteIdRole = Qt::UserRole, DirectionRole, ShortNameRole };

} // namespace

GtfsImportDialog::GtfsImportDialog(const std::vector<GtfsRouteChoice> &routes, QWidget *parent)
    : QDialog(parent)
    , m_routes(new QTreeWidget(this))
    , m_number(new QLineEdit(this))
    , m_tickets(new QComboBox(this))
    , m_names(new QComboBox(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(QStringLiteral("GTFSから取り込む"));
    auto *layout = new QVBoxLayout(this);
    auto *caption = new QLabel(QStringLiteral("取り込む系統と方向(&R):"), this);
    caption->setBuddy(m_routes);
    layout->addWidget(caption);

    m_routes->setAccessibleName(QStringLiteral("取り込む系統と方向"));
    m_routes->setRootIsDecorated(false);
    m_routes->setHeaderLabels({QStringLiteral("系統ID"), QStringLiteral("略称"), QStringLiteral("名称"),
                               QStringLiteral("方向"), QStringLiteral("行先"), QStringLiteral("始点 → 終点"),
                               QStringLiteral("停留所"), QStringLiteral("便数")});
    for (const GtfsRouteChoice &route : routes) {
        // One line for each direction: the two directions are two routes on a board.
        std::vector<GtfsRouteChoice::Direction> directions = route.directions;
        if (directions.empty()) {
            directions.push_back({});
        }
        for (const GtfsRouteChoice::Direction &direction : directions) {
            auto *item = new QTreeWidgetItem(
                m_routes, {route.routeId, route.shortName, route.longName,
                           direction.id ? QString::number(*direction.id) : QStringLiteral("すべて"),
                           direction.headsigns.join(QStringLiteral("、")),
                           direction.stops > 0 ? QStringLiteral("%1 → %2").arg(direction.firstStop, direction.lastStop)
                                               : QString(),
                           direction.stops > 0 ? QString::number(direction.stops) : QString(),
                           QString::number(direction.trips)});
            item->setData(0, RouteIdRole, route.routeId);
            item->setData(0, DirectionRole, direction.id ? QVariant(*direction.id) : QVariant());
            item->setData(0, ShortNameRole, route.shortName);
        }
    }
    m_routes->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(m_routes, 1);

    auto *form = new QFormLayout;
    m_number->setAccessibleName(QStringLiteral("系統番号"));
    m_number->setPlaceholderText(QStringLiteral("略称に番号がないときは入れてください"));
    m_number->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{1,%1}").arg(RouteNumber::MaxDigits)), m_number));
    form->addRow(QStringLiteral("系統番号(&N):"), m_number);
    m_tickets->setAccessibleName(QStringLiteral("整理券番号"));
    m_tickets->addItem(QStringLiteral("停留所ごと（盤に収まらなければ運賃の段ごと）"),
                       QVariant::fromValue(int(GtfsImport::Tickets::Automatic)));
    m_tickets->addItem(QStringLiteral("運賃の段ごと"), QVariant::fromValue(int(GtfsImport::Tickets::ByStage)));
    m_tickets->addItem(QStringLiteral("停留所ごと"), QVariant::fromValue(int(GtfsImport::Tickets::ByStop)));
    form->addRow(QStringLiteral("整理券番号(&T):"), m_tickets);
    m_names->setAccessibleName(QStringLiteral("停留所名"));
    m_names->addItem(QStringLiteral("駅・停留所の名前（のりばの番号なし）"), QVariant::fromValue(int(GtfsImport::Names::Station)));
    m_names->addItem(QStringLiteral("のりばの名前"), QVariant::fromValue(int(GtfsImport::Names::Platform)));
    form->addRow(QStringLiteral("停留所名(&S):"), m_names);
    layout->addLayout(form);

    m_buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("取り込む"));
    m_buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("取り込む"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    m_buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QStringLiteral("キャンセル"));
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_routes, &QTreeWidget::itemSelectionChanged, this, &GtfsImportDialog::proposeNumber);
    connect(m_routes, &QTreeWidget::itemSelectionChanged, this, &GtfsImportDialog::updateOk);
    connect(m_number, &QLineEdit::textEdited, this, [this] { m_numberTyped = true; });
    connect(m_routes, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (m_buttons->button(QDialogButtonBox::Ok)->isEnabled()) {
            accept();
        }
    });
    connect(m_number, &QLineEdit::textChanged, this, &GtfsImportDialog::updateOk);
    if (m_routes->topLevelItemCount() > 0) {
        m_routes->setCurrentItem(m_routes->topLevelItem(0));
    }
    updateOk();
    resize(860, 460);
}

void GtfsImportDialog::proposeNumber()
{
    const QTreeWidgetItem *item = m_routes->currentItem();
    if (m_numberTyped || !item) {
        return;
    }
    const std::optional<RouteNumber> number = RouteNumber::fromName(item->data(0, ShortNameRole).toString());
    m_number->setText(number ? number->text() : QString());
}

void GtfsImportDialog::updateOk()
{
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(m_routes->currentItem()
                                                        && RouteNumber::parse(m_number->text()).has_value());
}

GtfsImport::Request GtfsImportDialog::request() const
{
    GtfsImport::Request request;
    const std::optional<RouteNumber> number = RouteNumber::parse(m_number->text());
    request.routeNumber = number ? number->text() : QString();
    request.tickets = static_cast<GtfsImport::Tickets>(m_tickets->currentData().toInt());
    request.names = static_cast<GtfsImport::Names>(m_names->currentData().toInt());
    if (const QTreeWidgetItem *item = m_routes->currentItem()) {
        request.routeId = item->data(0, RouteIdRole).toString();
        const QVariant direction = item->data(0, DirectionRole);
        if (direction.isValid()) {
            request.direction = direction.toInt();
        }
    }
    return request;
}
