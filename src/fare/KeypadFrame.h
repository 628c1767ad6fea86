#pragma once

#include <QGroupBox>

#include <array>

class KeypadEntry;
class PanelButton;
class QLabel;

// The keypad input frame of the control panel: twelve rounded keys in the
// layout of a telephone, the route and section LED windows above them and the
// "リセット" key below. It shows a KeypadEntry; what the keys do is the
// panel's matter.
class KeypadFrame : public QGroupBox
{
    Q_OBJECT

public:
    explicit KeypadFrame(QWidget *parent = nullptr);

    // Keys by their index: 0 to 9 the digits, then "系統" and "区間".
    PanelButton *key(int index) const { return m_keys.at(index); }
    // 0 the route window, 1 the "-" between, 2 the section window.
    QLabel *display(int index) const { return m_displays.at(index); }
    PanelButton *resetButton() const { return m_reset; }

    void showEntry(const KeypadEntry &entry);
    // Gives every key its rounded outline at the panel's scale; done once
    // the panel is loaded and again at every scale.
    void roundKeys(qreal scale);

signals:
    void keyClicked(int index);
    void resetClicked();
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    std::array<PanelButton *, 12> m_keys{};
    std::array<QLabel *, 3> m_displays{};
    PanelButton *m_reset = nullptr;
};
