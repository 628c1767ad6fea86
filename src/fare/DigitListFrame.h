#pragma once

#include <QGroupBox>

#include <array>

class PanelButton;
class QListWidget;

// The list input frame of the control panel: five lists of the digits 0 to 9
// for the route ("系　統", most significant first), three for the section
// ("区間") and the "リセット" key.
class DigitListFrame : public QGroupBox
{
    Q_OBJECT

public:
    explicit DigitListFrame(QWidget *parent = nullptr);

    QListWidget *routeList(int index) const { return m_routeLists.at(index); }
    QListWidget *sectionList(int index) const { return m_sectionLists.at(index); }
    PanelButton *resetButton() const { return m_reset; }

    // Selects the digits of a route set another way, the last digit in the
    // last list, so that "リセット" here sets the same route again; the
    // lists of unused leading places have no selection. Digits beyond the
    // lists are left out.
    void showRoute(const QString &routeText, const QString &sectionText);

    // The selected digits joined in order; a list without a selection adds nothing.
    QString routeText() const;
    QString sectionText() const;

signals:
    void routeDigitClicked();
    void sectionDigitClicked();
    void resetClicked();
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    std::array<QListWidget *, 5> m_routeLists{};
    std::array<QListWidget *, 3> m_sectionLists{};
    PanelButton *m_reset = nullptr;
};
