#include "PanelFixture.h"

#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "display/StopRequestLamp.h"
#include "fare/PanelButton.h"
#include "settings/PageTabButton.h"

#include <QRadioButton>
#include <QScrollBar>
#include <QCheckBox>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

// Every control of every window can be found and read by a screen reader or
// an automation tool: it has a name, and painted displays say what they show.
class tst_Accessibility : public QObject
{
    Q_OBJECT

private:
    static QString nameOf(QWidget *widget)
    {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
        if (!accessible) {
            return QString();
        }
        if (qobject_cast<QComboBox *>(widget)) {
            // Here Qt reports a list's current entry as its name and its
            // caption as the label related to it; our own name goes first.
            if (!widget->accessibleName().isEmpty()) {
                return widget->accessibleName();
            }
            const auto labels = accessible->relations(QAccessible::Label);
            for (const auto &label : labels) {
                if (!qobject_cast<QGroupBox *>(label.first->object())) {
                    return label.first->text(QAccessible::Name).trimmed();
                }
            }
            return QString();
        }
        return accessible->text(QAccessible::Name).trimmed();
    }

    static bool isControl(QWidget *widget)
    {
        return qobject_cast<QAbstractButton *>(widget) || qobject_cast<QLineEdit *>(widget)
            || qobject_cast<QComboBox *>(widget) || qobject_cast<QAbstractSlider *>(widget)
            || qobject_cast<QAbstractItemView *>(widget) || qobject_cast<QPlainTextEdit *>(widget)
            || qobject_cast<M_Degit *>(widget) || qobject_cast<ChimeiCtl_B *>(widget);
    }

    // The parts that Qt builds inside its own controls (the scroll bars of a
    // list, the pop-up of a combo box) are named by those controls.
    static bool isInternal(const QWidget *widget, const QWidget *window)
    {
        return widget->window() != window || widget->parentWidget()->objectName().startsWith(QLatin1String("qt_"));
    }

    // The controls of `window` that a screen reader could not name: no name,
    // a caption of dots alone, or only the title of the group around them.
    static QStringList unnamedControls(QWidget *window)
    {
        QStringList unnamed;
        for (QWidget *widget : window->findChildren<QWidget *>()) {
            if (!isControl(widget) || widget->isHidden() || isInternal(widget, window)) {
                continue;
            }
            const QString name = nameOf(widget);
            const auto *group = qobject_cast<const QGroupBox *>(widget->parentWidget());
            // Qt falls back to the group's title for a field nobody named.
            const bool groupTitleOnly = group && widget->accessibleName().isEmpty()
                && !qobject_cast<QAbstractButton *>(widget) && name == group->title();
            if (name.isEmpty() || name == QStringLiteral("...") || groupTitleOnly) {
                unnamed << widget->objectName() + QLatin1Char('(') + widget->metaObject()->className() + QLatin1Char(')');
            }
        }
        return unnamed;
    }

private slots:
    void everyControlHasAName()
    {
        PanelFixture f;
        f.display.ChimeiCtl()->SetChimei(QStringLiteral("駅前"));
        QCOMPARE(unnamedControls(&f.panel), QStringList());
        QCOMPARE(unnamedControls(&f.options).join(","), QString());
        QCOMPARE(unnamedControls(&f.display), QStringList());
        // A list inside a caption reads as the caption's sentence, the
        // caption's other blanks closed up.
        QCOMPARE(f.options.Combo4(4)->accessibleName(), QStringLiteral("データの…列目の値を、コマ目に表示する。"));
    }

    void controlsHaveTheirNaturalRoles()
    {
        PanelFixture f;
        const auto roleOf = [](QWidget *widget) { return QAccessible::queryAccessibleInterface(widget)->role(); };
        QCOMPARE(roleOf(f.panel.CommandButton1(KeypadEntry::RouteKey)), QAccessible::Button);
        QCOMPARE(roleOf(f.panel.Check2()), QAccessible::CheckBox);
        QCOMPARE(roleOf(f.panel.Option4(2)), QAccessible::RadioButton);
        QCOMPARE(roleOf(f.panel.HScroll1(0)), QAccessible::ScrollBar);
        QCOMPARE(roleOf(f.options.Option1(3)), QAccessible::PageTab);
        QCOMPARE(QAccessible::queryAccessibleInterface(f.options.Option1(3))->text(QAccessible::Name), QStringLiteral("停名の設定"));
        // The shortcut shows where an operator looks for it.
        QVERIFY(f.panel.findChild<QAbstractButton *>("cmdTapeNext")->toolTip().contains(QStringLiteral("F8")));
        QVERIFY(f.panel.stopRequestKey()->toolTip().contains(QStringLiteral("F10")));
        // The painted lamp reads as its words and whether it is lit.
        QAccessibleInterface *lamp = QAccessible::queryAccessibleInterface(f.display.stopRequestLamp());
        QCOMPARE(lamp->text(QAccessible::Name), QStringLiteral("とまります"));
        QCOMPARE(lamp->text(QAccessible::Description), QStringLiteral("消灯"));
    }
};

QTEST_MAIN(tst_Accessibility)
#include "tst_Accessibility.moc"
