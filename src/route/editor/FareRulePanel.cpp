#include "FareRulePanel.h"

#include "route/FareRuleText.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

template <typename Spin>
Spin *spin(QWidget *parent, const QString &name, int maximum, const QString &suffix)
{
    auto *s = new Spin(parent);
    s->setAccessibleName(name);
    s->setRange(0, maximum);
    s->setSuffix(suffix);
    return s;
}

QDoubleSpinBox *kmSpin(QWidget *parent, const QString &name)
{
    QDoubleSpinBox *km = spin<QDoubleSpinBox>(parent, name, 999, QStringLiteral(" km"));
    km->setDecimals(1);
    km->setSingleStep(0.1);
    return km;
}

QPlainTextEdit *tableEdit(QWidget *parent, const QString &name, const QString &placeholder)
{
    auto *edit = new QPlainTextEdit(parent);
    edit->setAccessibleName(name);
    edit->setPlaceholderText(placeholder);
    edit->setMaximumHeight(90);
    return edit;
}

} // namespace

FareRulePanel::FareRulePanel(QWidget *parent)
    : QGroupBox(QStringLiteral("運賃の決め方"), parent)
{
    setAccessibleName(title());
    auto *layout = new QVBoxLayout(this);
    m_kind = new QComboBox(this);
    m_kind->setAccessibleName(title());
    m_kind->addItem(QStringLiteral("均一"), static_cast<int>(FareRule::Kind::Flat));
    m_kind->addItem(QStringLiteral("対キロ区間制"), static_cast<int>(FareRule::Kind::Distance));
    m_kind->addItem(QStringLiteral("地帯制・区間制"), static_cast<int>(FareRule::Kind::Zone));
    m_kind->addItem(QStringLiteral("手入力"), static_cast<int>(FareRule::Kind::Manual));
    layout->addWidget(m_kind);
    m_parameters = new QStackedWidget(this);
    layout->addWidget(m_parameters);
    const QString yen = QStringLiteral(" 円");

    auto *flat = new QWidget(m_parameters);
    auto *flatForm = new QFormLayout(flat);
    m_flatFare = spin<QSpinBox>(flat, QStringLiteral("運賃"), 99999, yen);
    flatForm->addRow(QStringLiteral("運賃:"), m_flatFare);
    m_parameters->addWidget(flat);

    auto *distance = new QWidget(m_parameters);
    auto *distanceForm = new QFormLayout(distance);
    m_baseFare = spin<QSpinBox>(distance, QStringLiteral("初乗り運賃"), 99999, yen);
    m_baseKm = kmSpin(distance, QStringLiteral("初乗り距離"));
    m_stepFare = spin<QSpinBox>(distance, QStringLiteral("加算運賃"), 99999, yen);
    m_stepKm = kmSpin(distance, QStringLiteral("加算距離"));
    m_unit = spin<QSpinBox>(distance, QStringLiteral("端数の単位"), 1000, yen);
    m_unit->setMinimum(1);
    m_bands = tableEdit(distance, QStringLiteral("距離帯"), QStringLiteral("1 行に「km,運賃」（例 3.0,210）"));
    distanceForm->addRow(QStringLiteral("初乗り運賃:"), m_baseFare);
    distanceForm->addRow(QStringLiteral("初乗り距離:"), m_baseKm);
    distanceForm->addRow(QStringLiteral("加算運賃:"), m_stepFare);
    distanceForm->addRow(QStringLiteral("加算距離（ごと）:"), m_stepKm);
    distanceForm->addRow(QStringLiteral("端数の単位:"), m_unit);
    distanceForm->addRow(new QLabel(QStringLiteral("距離帯（書くと上の初乗り・加算に代わります）:"), distance));
    distanceForm->addRow(m_bands);
    m_parameters->addWidget(distance);

    auto *zone = new QWidget(m_parameters);
    auto *zoneForm = new QFormLayout(zone);
    m_zoneFares = new QLineEdit(zone);
    m_zoneFares->setAccessibleName(QStringLiteral("越えたゾーン数ごとの運賃"));
    m_zoneFares->setPlaceholderText(QStringLiteral("同じゾーン,1 ゾーン,2 ゾーン,…（例 210,260,310）"));
    m_zonePairs = tableEdit(zone, QStringLiteral("ゾーン間の運賃"), QStringLiteral("1 行に「乗車ゾーン,降車ゾーン,運賃」"));
    zoneForm->addRow(QStringLiteral("ゾーン数ごと:"), m_zoneFares);
    zoneForm->addRow(new QLabel(QStringLiteral("ゾーン間（書くとゾーン数ごとに代わります）:"), zone));
    zoneForm->addRow(m_zonePairs);
    m_parameters->addWidget(zone);

    auto *manual = new QLabel(QStringLiteral("運賃表のセルに運賃を直接入力します。"), m_parameters);
    manual->setAccessibleName(manual->text());
    manual->setWordWrap(true);
    m_parameters->addWidget(manual);

    connect(m_kind, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_parameters->setCurrentIndex(index);
        emitEdited();
    });
    for (QSpinBox *s : {m_flatFare, m_baseFare, m_stepFare, m_unit}) {
        connect(s, &QSpinBox::editingFinished, this, &FareRulePanel::emitEdited);
    }
    for (QDoubleSpinBox *s : {m_baseKm, m_stepKm}) {
        connect(s, &QDoubleSpinBox::editingFinished, this, &FareRulePanel::emitEdited);
    }
    connect(m_zoneFares, &QLineEdit::editingFinished, this, &FareRulePanel::emitEdited);
    // The tables are typed a line at a time: they count once the author says so.
    auto *apply = new QPushButton(QStringLiteral("運賃表に反映"), this);
    apply->setAccessibleName(apply->text());
    connect(apply, &QPushButton::clicked, this, &FareRulePanel::emitEdited);
    layout->addWidget(apply);
}

FareRule FareRulePanel::rule(const FareRule &base, QStringList &unreadable) const
{
    FareRule rule = base;
    rule.kind = static_cast<FareRule::Kind>(m_kind->currentData().toInt());
    rule.flatFare = m_flatFare->value();
    rule.baseFare = m_baseFare->value();
    rule.baseTenths = FareRuleText::tenths(m_baseKm->value());
    rule.stepFare = m_stepFare->value();
    rule.stepTenths = FareRuleText::tenths(m_stepKm->value());
    rule.unit = m_unit->value();
    rule.bands = FareRuleText::bandsFromText(m_bands->toPlainText(), unreadable);
    rule.faresByZonesCrossed = FareRuleText::zoneFaresFromText(m_zoneFares->text(), unreadable);
    rule.zonePairs = FareRuleText::zonePairsFromText(m_zonePairs->toPlainText(), unreadable);
    return rule;
}

void FareRulePanel::showRule(const FareRule &rule)
{
    m_showing = true;
    m_kind->setCurrentIndex(m_kind->findData(static_cast<int>(rule.kind)));
    m_parameters->setCurrentIndex(m_kind->currentIndex());
    m_flatFare->setValue(rule.flatFare);
    m_baseFare->setValue(rule.baseFare);
    m_baseKm->setValue(rule.baseTenths / 10.0);
    m_stepFare->setValue(rule.stepFare);
    m_stepKm->setValue(rule.stepTenths / 10.0);
    m_unit->setValue(rule.unit);
    m_zoneFares->setText(FareRuleText::zoneFaresText(rule.faresByZonesCrossed));
    // The tables keep the author's own lines (order, spacing, a line being
    // typed) while they still say the same.
    QStringList ignored;
    if (FareRuleText::bandsFromText(m_bands->toPlainText(), ignored) != rule.bands) {
        m_bands->setPlainText(FareRuleText::bandsText(rule.bands));
    }
    if (FareRuleText::zonePairsFromText(m_zonePairs->toPlainText(), ignored) != rule.zonePairs) {
        m_zonePairs->setPlainText(FareRuleText::zonePairsText(rule.zonePairs));
    }
    m_showing = false;
}

void FareRulePanel::emitEdited()
{
    if (!m_showing) {
        emit edited();
    }
}
