#pragma once

#include "route/FareRule.h"

#include <QGroupBox>
#include <QStringList>

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QStackedWidget;

// 運賃の決め方: the kind of fare rule and its parameters, as controls.
class FareRulePanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit FareRulePanel(QWidget *parent = nullptr);

    // The rule the controls give, on top of `base` (what the controls do not
    // hold stays as it is there). Typed table lines that cannot be read are
    // left out and named in `unreadable`.
    FareRule rule(const FareRule &base, QStringList &unreadable) const;
    // Shows `rule` without counting it as an edit.
    void showRule(const FareRule &rule);

signals:
    // The author changed the rule (a finished edit, not every keystroke).
    void edited();

private:
    void emitEdited();

    QComboBox *m_kind;
    QStackedWidget *m_parameters;
    QSpinBox *m_flatFare;
    QSpinBox *m_baseFare;
    QDoubleSpinBox *m_baseKm;
    QSpinBox *m_stepFare;
    QDoubleSpinBox *m_stepKm;
    QSpinBox *m_unit;
    QPlainTextEdit *m_bands;
    QLineEdit *m_zoneFares;
    QPlainTextEdit *m_zonePairs;
    // While a rule is shown, the controls' signals are not edits.
    bool m_showing = false;
};
