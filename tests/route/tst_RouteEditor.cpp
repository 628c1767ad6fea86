#include "formats/Hy3File.h"
#include "route/GtfsImport.h"
#include "route/editor/GtfsImportDialog.h"
#include "route/StopTableModel.h"
#include "route/editor/RouteEditor.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFileDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QSpinBox>
#include <QInputMethodEvent>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

// The editor window driven through its own controls, as an author would.
class tst_RouteEditor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void makesAndSavesARouteFromNothing();
    void anImportAsksBeforeReplacingAnotherRoutesFiles();
    void triesARouteOnTheDisplayAskingOnlyTheFirstTime();

private:
    template <typename T>
    T *control(QWidget &window, const QString &name)
    {
        for (T *widget : window.findChildren<T *>()) {
            if (widget->accessibleName() == name && widget->isVisibleTo(&window)) {
                return widget;
            }
        }
        qWarning("no control named %s", qPrintable(name));
        return nullptr;
    }
    // Types `text` into the editor a cell opened, as an input method
    // commits Japanese, and commits the cell.
    static void typeIntoCell(const QString &text)
    {
        QWidget *editor = QApplication::focusWidget();
        QVERIFY(qobject_cast<QLineEdit *>(editor));
        QInputMethodEvent typed;
        typed.setCommitString(text);
        QApplication::sendEvent(editor, &typed);
        QTest::keyClick(editor, Qt::Key_Return);
        // The view commits the cell from its event loop.
        QCoreApplication::processEvents();
    }
    static void typeInto(QWidget *field, const QString &text)
    {
        QVERIFY(field);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }
};

void tst_RouteEditor::initTestCase()
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
}

void tst_RouteEditor::makesAndSavesARouteFromNothing()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    RouteEditor editor(dir.filePath("R57.in4"), dir.filePath("R57"));
    editor.show();
    QApplication::setActiveWindow(&editor);
    QVERIFY(QTest::qWaitForWindowActive(&editor));

    typeInto(control<QLineEdit>(editor, "系統番号"), "7");
    auto *stops = control<QTableView>(editor, "停留所");
    QVERIFY(stops);
    const QList<std::pair<QString, QString>> typed{{"駅前", "0"}, {"本町", "1.5"}, {"終点", "3.2"}};
    for (const auto &[name, km] : typed) {
        control<QAbstractButton>(editor, "追加")->click();
        typeIntoCell(name);
        stops->setCurrentIndex(stops->model()->index(stops->model()->rowCount() - 1, StopTableModel::KmColumn));
        stops->setFocus();
        QTest::keyClick(stops, Qt::Key_F2);
        typeIntoCell(km);
    }
    QCOMPARE(stops->model()->rowCount(), 3);

    // 180 yen up to 1 km, 30 yen for every started km after it.
    control<QComboBox>(editor, "運賃の決め方")->setCurrentText("対キロ区間制");
    typeInto(control<QSpinBox>(editor, "初乗り運賃"), "180");
    typeInto(control<QDoubleSpinBox>(editor, "初乗り距離"), "1.0");
    typeInto(control<QSpinBox>(editor, "加算運賃"), "30");
    typeInto(control<QDoubleSpinBox>(editor, "加算距離"), "1.0");
    QVERIFY(editor.isWindowModified());

    const QString path = dir.filePath("7.route.json");
    QTimer::singleShot(0, [&path] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->selectFile(path);
        static_cast<QDialog *>(dialog)->accept();
    });
    QTest::keyClick(&editor, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!editor.isWindowModified());
    QVERIFY(QFileInfo::exists(path));
    QVERIFY(QFileInfo::exists(dir.filePath("7tp.csv")));

    QFile fares(dir.filePath("7.hy3"));
    QVERIFY(fares.open(QIODevice::ReadOnly));
    const Hy3File::Contents contents = Hy3File::parse(fares.readAll());
    QCOMPARE(contents.records.size(), size_t(3));
    QCOMPARE(contents.records[1].name, QStringLiteral("本町"));
    // Tickets 1 (駅前) and 2 (本町); 1.5 km: 210, 3.2 km: 270, 1.7 km: 210.
    QCOMPARE(contents.records[1].column(1), qint16(210));
    QCOMPARE(contents.records[2].column(1), qint16(270));
    QCOMPARE(contents.records[2].column(2), qint16(210));

    // Undo reaches back past the save: the route differs from the file again.
    QApplication::setActiveWindow(&editor);
    stops->setFocus();
    QTest::keyClick(stops, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(editor.isWindowModified());
    QVERIFY(editor.windowTitle().contains("7.route.json"));
}

// The import takes its number from the feed's route, not from the route
// open in the editor; saved under a number whose files another route wrote,
// the save names them and replaces nothing unless told.
void tst_RouteEditor::anImportAsksBeforeReplacingAnotherRoutesFiles()
{
    std::vector<GtfsRouteChoice> routes(2);
    GtfsRouteChoice::Direction outbound;
    outbound.id = 0;
    outbound.trips = 10;
    routes[0] = {QStringLiteral("R1"), QStringLiteral("急行51"), QStringLiteral("鹿島線"), {outbound}, 10};
    routes[1] = {QStringLiteral("R2"), QStringLiteral("循環"), QString(), {}, 4};
    {
        GtfsImportDialog chooser(routes);
        auto *number = control<QLineEdit>(chooser, "系統番号");
        QCOMPARE(number->text(), QStringLiteral("51"));
        chooser.findChild<QTreeWidget *>()->setCurrentItem(chooser.findChild<QTreeWidget *>()->topLevelItem(1));
        QCOMPARE(number->text(), QString()); // no digits: the author is asked
        QVERIFY(!control<QAbstractButton>(chooser, "取り込む")->isEnabled());
    }

    QTemporaryDir dir;
    RouteSource route;
    route.route = QStringLiteral("51");
    route.rule.flatFare = 200;
    route.stops.resize(2);
    route.stops[0].name = QStringLiteral("駅前");
    route.stops[1].name = QStringLiteral("本町");
    QFile source(dir.filePath("51.route.json"));
    QVERIFY(source.open(QIODevice::WriteOnly));
    source.write(route.toJson());
    source.close();
    RouteEditor editor(dir.filePath("R57.in4"), dir.filePath("R57"));
    QVERIFY(editor.openFile(dir.filePath("51.route.json")));
    QVERIFY(editor.save());
    QFile fares(dir.filePath("51.hy3"));
    QVERIFY(fares.open(QIODevice::ReadOnly));
    const QByteArray before = fares.readAll();

    GtfsImport::Result imported;
    imported.source = route;
    imported.source.stops[1].name = QStringLiteral("鹿島");
    editor.adoptImport(imported);
    QString asked;
    bool cancelByDefault = false;
    QTimer answer;
    connect(&answer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            dialog->selectFile(dir.filePath("kashimo.route.json"));
            static_cast<QDialog *>(dialog)->accept();
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            asked = box->text();
            QAbstractButton *cancel = box->button(QMessageBox::Cancel);
            cancelByDefault = cancel && box->defaultButton() == cancel;
            (cancel ? cancel : box->buttons().constFirst())->click();
        }
    });
    answer.start(20);
    QVERIFY(!editor.saveAs());
    answer.stop();
    QVERIFY(cancelByDefault);
    QVERIFY2(asked.contains(QDir::toNativeSeparators(dir.filePath("51.hy3")))
                 && asked.contains(QDir::toNativeSeparators(dir.filePath("51tp.csv"))),
             qPrintable(asked));
    QVERIFY(!QFileInfo::exists(dir.filePath("kashimo.route.json")));
    fares.seek(0);
    QCOMPARE(fares.readAll(), before);

    // Under a number of its own it is saved, and 名前を付けて保存 says what
    // the save had to say.
    editor.document().setRouteNumber(QStringLiteral("52"));
    editor.document().setFare(2, 1, 12000);
    asked.clear();
    answer.start(20);
    QVERIFY(editor.saveAs());
    answer.stop();
    QVERIFY2(asked.contains(QStringLiteral("運賃 12000 は表示の4桁に収まりません")), qPrintable(asked));
    QVERIFY(QFileInfo::exists(dir.filePath("52.hy3")));
}

// "表示器で試す" into the display's own folder: the first copy is asked with
// コピー as the default, later copies of the same route from this source are
// made without a question, and a file another source wrote is not replaced
// by default. The author is told where the files went.
void tst_RouteEditor::triesARouteOnTheDisplayAskingOnlyTheFirstTime()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("routes") && QDir(dir.path()).mkpath("display"));
    const QString display = dir.filePath("display");
    RouteSource route;
    route.route = QStringLiteral("12");
    route.rule.flatFare = 200;
    route.stops.resize(2);
    route.stops[0].name = QStringLiteral("駅前");
    route.stops[1].name = QStringLiteral("本町");
    for (const QString &name : {QStringLiteral("routes/12.route.json"), QStringLiteral("routes/other.route.json")}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(route.toJson());
    }
    RouteEditor editor(dir.filePath("display/R57.in4"), dir.filePath("display/R57"));
    QVERIFY(editor.openFile(dir.filePath("routes/12.route.json")));

    QStringList asked;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
    QTimer answering;
    connect(&answering, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            asked << (box->defaultButton() == box->button(QMessageBox::Yes) ? "コピー" : "キャンセル");
            QAbstractButton *chosen = box->button(answer);
            (chosen ? chosen : box->buttons().constFirst())->click();
        }
    });
    answering.start(20);
    QVERIFY(editor.placeForDisplay(display, display));
    QCOMPARE(asked, QStringList{"コピー"});
    QVERIFY(editor.placedFiles().contains(QDir::toNativeSeparators(dir.filePath("display/12.hy3"))));

    FareRule dearer = route.rule;
    dearer.flatFare = 230;
    editor.document().setRule(dearer);
    QVERIFY(editor.save());
    QVERIFY(editor.placeForDisplay(display, display));
    QCOMPARE(asked.size(), 1); // the display's copy came from this source: no question
    QFile copied(dir.filePath("display/12.hy3"));
    QVERIFY(copied.open(QIODevice::ReadOnly));
    QCOMPARE(Hy3File::parse(copied.readAll()).records[1].column(1), qint16(230));

    // Another source of route 12 asks, and replacing is not the default.
    QVERIFY(editor.openFile(dir.filePath("routes/other.route.json")));
    answer = QMessageBox::Cancel;
    QVERIFY(!editor.placeForDisplay(display, display));
    answering.stop();
    QCOMPARE(asked, (QStringList{"コピー", "キャンセル"}));
    copied.seek(0);
    QCOMPARE(Hy3File::parse(copied.readAll()).records[1].column(1), qint16(230));
}

QTEST_MAIN(tst_RouteEditor)
#include "tst_RouteEditor.moc"
