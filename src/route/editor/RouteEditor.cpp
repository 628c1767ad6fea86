#include "RouteEditor.h"

#include "FareRulePanel.h"
#include "GtfsImportDialog.h"
#include "GtfsImportProgress.h"
#include "RouteCellDelegate.h"
#include "SpokenReadingColumn.h"
#include "app/FileReplacement.h"
#include "app/WholeFile.h"
#include "controls/ChimeiCtl_B.h"
#include "display/SingleInstanceGuard.h"
#include "fare/RouteNumber.h"
#include "route/AnnouncementModel.h"
#include "route/FareGridModel.h"
#include "route/GtfsFeed.h"
#include "route/GtfsImport.h"
#include "route/GtfsProgress.h"
#include "route/GtfsRouteChoice.h"
#include "route/RouteFiles.h"
#include "route/StopTableModel.h"
#include "route/TimetableModel.h"
#include "sound/EspeakSpeechService.h"
#include "sound/SpeechEngine.h"
#include "sound/ReadingDictionary.h"
#include "sound/SpokenReading.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QScopeGuard>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QThread>
#include <QToolBar>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// How long the display may take: to answer a question, to set a route (its
// sound and lamp test included), to come up after it was started.
constexpr int AnswerMs = 5000;
constexpr int SetRouteMs = 30000;
constexpr int StartMs = 30000;
// The record of the routes copied into the display's folders stays small.
constexpr qint64 CopiesRecordBytes = 1024 * 1024;

const QString Title = QStringLiteral("路線エディタ");

QPushButton *button(const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    return b;
}

QAction *action(const QString &caption, QObject *parent, const QKeySequence &key = {})
{
    auto *a = new QAction(caption, parent);
    a->setShortcut(key);
    return a;
}

template <typename Spin>
Spin *spin(QWidget *parent, const QString &name, int maximum)
{
    auto *s = new Spin(parent);
    s->setAccessibleName(name);
    s->setRange(0, maximum);
    return s;
}

QString samePath(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
}

} // namespace

RouteEditor::RouteEditor(const QString &displaySettings, const QString &displayProgram, QWidget *parent)
    : QMainWindow(parent)
    , m_displaySettings(displaySettings)
    , m_displayProgram(displayProgram)
    , m_stops(new StopTableModel(&m_document, this))
    , m_fares(new FareGridModel(&m_document, this))
    , m_announcements(new AnnouncementModel(&m_document, this))
    , m_timetable(new TimetableModel(&m_document, this))
    , m_reading(SpokenReading::create())
{
    setAccessibleName(Title);
    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(createStopPane());
    auto *tabs = new QTabWidget(splitter);
    tabs->setAccessibleName(QStringLiteral("運賃と放送"));
    tabs->addTab(createFarePane(), QStringLiteral("運賃(&F)"));
    tabs->addTab(createAnnouncementPane(), QStringLiteral("放送(&A)"));
    tabs->addTab(createTimetablePane(), QStringLiteral("時刻表(&J)"));
    splitter->addWidget(tabs);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({520, 760});
    setCentralWidget(splitter);
    createActions();

    connect(&m_document, &RouteDocument::changed, this, &RouteEditor::documentChanged);
    connect(&m_document, &RouteDocument::filePathChanged, this, &RouteEditor::updateTitle);
    connect(m_document.undoStack(), &QUndoStack::cleanChanged, this, &RouteEditor::updateTitle);
    documentChanged();
    resize(1200, 760);
}

RouteEditor::~RouteEditor() = default;

// ---------------------------------------------------------------------------
// Building the window

void RouteEditor::createActions()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    QAction *newAction = action(QStringLiteral("新規(&N)"), this, QKeySequence::New);
    QAction *openAction = action(QStringLiteral("開く(&O)…"), this, QKeySequence::Open);
    QAction *saveAction = action(QStringLiteral("保存(&S)"), this, QKeySequence::Save);
    QAction *saveAsAction = action(QStringLiteral("名前を付けて保存(&A)…"), this, QKeySequence::SaveAs);
    QAction *gtfsAction = action(QStringLiteral("GTFSから取り込む…"), this);
    QAction *tryAction = action(QStringLiteral("表示器で試す"), this, QKeySequence(Qt::Key_F5));
    QAction *quitAction = action(QStringLiteral("終了(&X)"), this, QKeySequence::Quit);
    connect(newAction, &QAction::triggered, this, &RouteEditor::newRoute);
    connect(openAction, &QAction::triggered, this, &RouteEditor::openDialog);
    connect(saveAction, &QAction::triggered, this, &RouteEditor::save);
    connect(saveAsAction, &QAction::triggered, this, &RouteEditor::saveAs);
    connect(gtfsAction, &QAction::triggered, this, &RouteEditor::importGtfs);
    connect(tryAction, &QAction::triggered, this, &RouteEditor::tryOnDisplay);
    connect(quitAction, &QAction::triggered, this, &QWidget::close);
    file->addActions({newAction, openAction, saveAction, saveAsAction});
    file->addSeparator();
    file->addActions({gtfsAction, tryAction});
    file->addSeparator();
    file->addAction(quitAction);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    QAction *undo = m_document.undoStack()->createUndoAction(this, QStringLiteral("元に戻す"));
    undo->setShortcut(QKeySequence::Undo);
    QAction *redo = m_document.undoStack()->createRedoAction(this, QStringLiteral("やり直し"));
    redo->setShortcut(QKeySequence::Redo);
    edit->addActions({undo, redo});

    QToolBar *tools = addToolBar(QStringLiteral("ツールバー"));
    tools->setAccessibleName(QStringLiteral("ツールバー"));
    tools->setObjectName(QStringLiteral("tools"));
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tools->addActions({newAction, openAction, saveAction});
    tools->addSeparator();
    tools->addActions({undo, redo});
    tools->addSeparator();
    tools->addActions({gtfsAction, tryAction});
    for (QAction *a : {newAction, openAction, saveAction, undo, redo, gtfsAction, tryAction}) {
        if (QWidget *widget = tools->widgetForAction(a)) {
            widget->setAccessibleName(a->text().remove(QLatin1Char('&')).remove(QStringLiteral("…")));
        }
    }
}

QWidget *RouteEditor::createStopPane()
{
    auto *pane = new QGroupBox(QStringLiteral("停留所"), this);
    pane->setAccessibleName(QStringLiteral("停留所"));
    auto *layout = new QVBoxLayout(pane);

    auto *numbers = new QFormLayout;
    m_routeNumber = new QLineEdit(pane);
    m_routeNumber->setAccessibleName(QStringLiteral("系統番号"));
    m_routeNumber->setPlaceholderText(QStringLiteral("1～5 桁の数字"));
    connect(m_routeNumber, &QLineEdit::editingFinished, this,
            [this] { m_document.setRouteNumber(m_routeNumber->text().trimmed()); });
    numbers->addRow(QStringLiteral("系統番号(&R):"), m_routeNumber);
    layout->addLayout(numbers);

    m_stopView = new QTableView(pane);
    m_stopView->setAccessibleName(QStringLiteral("停留所"));
    m_stopView->setModel(m_stops);
    m_stopView->setItemDelegate(new RouteCellDelegate(RouteCellDelegate::Stops, m_stopView));
    m_stopView->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_stopView->setDragDropMode(QAbstractItemView::InternalMove);
    m_stopView->setDragEnabled(true);
    m_stopView->setAcceptDrops(true);
    m_stopView->setDropIndicatorShown(true);
    m_stopView->setDefaultDropAction(Qt::MoveAction);
    m_stopView->verticalHeader()->setSectionsMovable(false);
    m_stopView->setWordWrap(false);
    m_stopView->verticalHeader()->setDefaultSectionSize(m_stopView->fontMetrics().height() + 8);
    m_stopView->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_stopView->horizontalHeader()->setSectionResizeMode(StopTableModel::NameColumn, QHeaderView::Stretch);
    layout->addWidget(m_stopView, 1);
    connect(m_stopView->selectionModel(), &QItemSelectionModel::currentChanged, this, &RouteEditor::showSelectedStop);

    auto *buttons = new QHBoxLayout;
    QPushButton *add = button(QStringLiteral("追加"), pane);
    QPushButton *insert = button(QStringLiteral("挿入"), pane);
    QPushButton *remove = button(QStringLiteral("削除"), pane);
    QPushButton *up = button(QStringLiteral("上へ"), pane);
    QPushButton *down = button(QStringLiteral("下へ"), pane);
    QPushButton *paste = button(QStringLiteral("貼り付け"), pane);
    add->setToolTip(QStringLiteral("最後に停留所を追加します"));
    insert->setToolTip(QStringLiteral("選んだ停留所の前に挿入します（Insert）"));
    remove->setToolTip(QStringLiteral("選んだ停留所を削除します（Delete）"));
    up->setToolTip(QStringLiteral("Ctrl+↑"));
    down->setToolTip(QStringLiteral("Ctrl+↓"));
    paste->setToolTip(QStringLiteral("表計算ソフトからコピーした表（タブ区切り）を選んだ位置へ貼り付けます（Ctrl+V）"));
    for (QPushButton *b : {add, insert, remove, up, down, paste}) {
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(add, &QPushButton::clicked, this, [this] { addStop(false); });
    connect(insert, &QPushButton::clicked, this, [this] { addStop(true); });
    connect(remove, &QPushButton::clicked, this, &RouteEditor::removeStops);
    connect(up, &QPushButton::clicked, this, [this] { moveStops(-1); });
    connect(down, &QPushButton::clicked, this, [this] { moveStops(1); });
    connect(paste, &QPushButton::clicked, this, &RouteEditor::pasteStops);
    // The keys act on the table only, not on a cell being edited.
    const auto key = [this](const QKeySequence &sequence, auto slot) {
        auto *a = new QAction(m_stopView);
        a->setShortcut(sequence);
        a->setShortcutContext(Qt::WidgetShortcut);
        connect(a, &QAction::triggered, this, slot);
        m_stopView->addAction(a);
    };
    key(QKeySequence(Qt::Key_Insert), [this] { addStop(true); });
    key(QKeySequence::Delete, [this] { removeStops(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Up), [this] { moveStops(-1); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Down), [this] { moveStops(1); });
    key(QKeySequence::Paste, [this] { pasteStops(); });

    auto *previewBox = new QGroupBox(QStringLiteral("行先表示の見え方"), pane);
    previewBox->setAccessibleName(QStringLiteral("行先表示の見え方"));
    auto *previewLayout = new QVBoxLayout(previewBox);
    m_preview = new ChimeiCtl_B(previewBox);
    m_preview->setAccessibleName(QStringLiteral("選んだ停留所の表示"));
    m_preview->setMinimumHeight(48);
    previewLayout->addWidget(m_preview);
    m_nameState = new QLabel(previewBox);
    m_nameState->setAccessibleName(QStringLiteral("停留所名の確認"));
    m_nameState->setWordWrap(true);
    previewLayout->addWidget(m_nameState);
    layout->addWidget(previewBox);
    return pane;
}

QWidget *RouteEditor::createFarePane()
{
    auto *pane = new QWidget(this);
    auto *layout = new QHBoxLayout(pane);
    auto *left = new QVBoxLayout;
    m_rulePanel = new FareRulePanel(pane);
    connect(m_rulePanel, &FareRulePanel::edited, this, &RouteEditor::applyRulePanel);
    left->addWidget(m_rulePanel);
    auto *selectorForm = new QFormLayout;
    m_selectorColumn = spin<QSpinBox>(pane, QStringLiteral("ステップ音の列"), 150);
    m_selectorColumn->setSpecialValueText(QStringLiteral("なし"));
    connect(m_selectorColumn, &QSpinBox::editingFinished, this,
            [this] { m_document.setSelectorColumn(m_selectorColumn->value()); });
    selectorForm->addRow(QStringLiteral("ステップ音の列:"), m_selectorColumn);
    left->addLayout(selectorForm);
    auto *problemsCaption = new QLabel(QStringLiteral("警告(&W):"), pane);
    m_problems = new QListWidget(pane);
    m_problems->setAccessibleName(QStringLiteral("警告"));
    problemsCaption->setBuddy(m_problems);
    left->addWidget(problemsCaption);
    left->addWidget(m_problems, 1);
    connect(m_problems, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        const int stop = item->data(Qt::UserRole).toInt();
        const int column = item->data(Qt::UserRole + 1).toInt();
        if (stop > 0 && column > 0 && column <= m_fares->columnCount()) {
            m_fareView->setCurrentIndex(m_fares->index(stop - 1, column - 1));
        } else if (stop > 0) {
            m_stopView->setCurrentIndex(m_stops->index(stop - 1, StopTableModel::NameColumn));
        }
    });
    layout->addLayout(left);

    auto *gridBox = new QVBoxLayout;
    auto *gridCaption = new QLabel(
        QStringLiteral("運賃表(&T)（行: 停留所、列: 整理券番号。入力したセルは太字、警告のあるセルは赤）:"), pane);
    m_fareView = new QTableView(pane);
    m_fareView->setAccessibleName(QStringLiteral("運賃表"));
    gridCaption->setBuddy(m_fareView);
    m_fareView->setModel(m_fares);
    m_fareView->setItemDelegate(new RouteCellDelegate(RouteCellDelegate::Fares, m_fareView));
    m_fareView->horizontalHeader()->setDefaultSectionSize(48);
    m_fareView->verticalHeader()->setDefaultSectionSize(22);
    auto *clear = new QAction(QStringLiteral("入力した運賃を取り消す"), m_fareView);
    clear->setShortcut(QKeySequence::Delete);
    clear->setShortcutContext(Qt::WidgetShortcut);
    connect(clear, &QAction::triggered, this,
            [this] { m_fares->clearOverrides(m_fareView->selectionModel()->selectedIndexes()); });
    m_fareView->addAction(clear);
    m_fareView->setContextMenuPolicy(Qt::ActionsContextMenu);
    gridBox->addWidget(gridCaption);
    gridBox->addWidget(m_fareView, 1);
    layout->addLayout(gridBox, 1);
    return pane;
}

QWidget *RouteEditor::createTimetablePane()
{
    auto *pane = new QWidget(this);
    auto *layout = new QVBoxLayout(pane);
    auto *caption = new QLabel(QStringLiteral("便(&B)（時刻は HH:MM:SS、着と発が違うときは HH:MM:SS-HH:MM:SS。"
                                              "深夜は 24:10:00 のように続けます）:"),
                               pane);
    caption->setWordWrap(true);
    m_timetableView = new QTableView(pane);
    m_timetableView->setAccessibleName(QStringLiteral("時刻表"));
    caption->setBuddy(m_timetableView);
    m_timetableView->setModel(m_timetable);
    layout->addWidget(caption);
    layout->addWidget(m_timetableView, 1);
    auto *buttons = new QHBoxLayout;
    QPushButton *add = button(QStringLiteral("便を追加"), pane);
    QPushButton *remove = button(QStringLiteral("便を削除"), pane);
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(add, &QPushButton::clicked, this, [this] {
        const QModelIndex current = m_timetableView->currentIndex();
        m_timetable->insertRows(current.isValid() ? current.row() + 1 : m_timetable->rowCount(), 1);
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        const QModelIndex current = m_timetableView->currentIndex();
        if (current.isValid()) {
            m_timetable->removeRows(current.row(), 1);
        }
    });
    connect(m_timetable, &TimetableModel::inputRefused, this,
            [this](const QString &reason) { statusBar()->showMessage(reason, 8000); });
    return pane;
}

QWidget *RouteEditor::createAnnouncementPane()
{
    auto *pane = new QWidget(this);
    auto *layout = new QVBoxLayout(pane);
    auto *caption = new QLabel(QStringLiteral("放送文(&L)（右の列は音声合成が読む読み方）:"), pane);
    m_announcementView = new QTableView(pane);
    m_announcementView->setAccessibleName(QStringLiteral("放送文"));
    caption->setBuddy(m_announcementView);
    m_readingColumn = new SpokenReadingColumn(
        [this](const QString &text) { return m_reading ? m_reading->reading(text) : QString(); }, this);
    m_readingColumn->setSourceModel(m_announcements);
    m_announcementView->setModel(m_readingColumn);
    m_announcementView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_announcementView->horizontalHeader()->setSectionResizeMode(AnnouncementModel::TextColumn, QHeaderView::Stretch);
    m_announcementView->horizontalHeader()->setSectionResizeMode(AnnouncementModel::EnglishColumn, QHeaderView::Stretch);
    m_announcementView->horizontalHeader()->setSectionResizeMode(AnnouncementModel::ColumnCount,
                                                                 QHeaderView::Stretch);
    layout->addWidget(caption);
    layout->addWidget(m_announcementView, 1);

    auto *buttons = new QHBoxLayout;
    QPushButton *play = button(QStringLiteral("再生"), pane);
    QPushButton *stop = button(QStringLiteral("停止"), pane);
    QPushButton *add = button(QStringLiteral("行を追加"), pane);
    QPushButton *remove = button(QStringLiteral("行を削除"), pane);
    QPushButton *regenerate = button(QStringLiteral("停留所から作り直す"), pane);
    for (QPushButton *b : {play, stop, add, remove, regenerate}) {
        buttons->addWidget(b);
    }
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(play, &QPushButton::clicked, this, &RouteEditor::playAnnouncement);
    connect(stop, &QPushButton::clicked, this, [this] {
        if (m_speech) {
            m_speech->stop();
        }
    });
    connect(add, &QPushButton::clicked, this, [this] {
        const QModelIndex current = m_announcementView->currentIndex();
        m_announcements->insertRows(current.isValid() ? current.row() + 1 : m_announcements->rowCount(), 1);
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        const QModelIndex current = m_announcementView->currentIndex();
        if (current.isValid()) {
            m_announcements->removeRows(current.row(), 1);
        }
    });
    connect(regenerate, &QPushButton::clicked, m_announcements, &AnnouncementModel::regenerate);

    auto *fix = new QGroupBox(QStringLiteral("読みの修正（yomi.txt に書きます）"), pane);
    fix->setAccessibleName(QStringLiteral("読みの修正"));
    auto *fixLayout = new QHBoxLayout(fix);
    m_readingWord = new QLineEdit(fix);
    m_readingWord->setAccessibleName(QStringLiteral("語"));
    m_readingWord->setPlaceholderText(QStringLiteral("語（例 本町）"));
    m_readingText = new QLineEdit(fix);
    m_readingText->setAccessibleName(QStringLiteral("読み"));
    m_readingText->setPlaceholderText(QStringLiteral("読み（ひらがな、空にすると取り消し）"));
    QPushButton *registerButton = button(QStringLiteral("読みを登録"), fix);
    fixLayout->addWidget(new QLabel(QStringLiteral("語:"), fix));
    fixLayout->addWidget(m_readingWord, 1);
    fixLayout->addWidget(new QLabel(QStringLiteral("読み:"), fix));
    fixLayout->addWidget(m_readingText, 1);
    fixLayout->addWidget(registerButton);
    connect(registerButton, &QPushButton::clicked, this, &RouteEditor::registerReading);
    connect(m_readingText, &QLineEdit::returnPressed, this, &RouteEditor::registerReading);
    connect(m_readingWord, &QLineEdit::textChanged, this,
            [this](const QString &word) { m_readingText->setText(m_document.readingFix(word)); });
    layout->addWidget(fix);
    return pane;
}

// ---------------------------------------------------------------------------
// The document

void RouteEditor::documentChanged()
{
    if (!m_routeNumber->hasFocus()) {
        m_routeNumber->setText(m_document.source().route);
    }
    m_selectorColumn->setValue(m_document.source().selectorColumn);
    m_rulePanel->showRule(m_document.source().rule);
    showProblems();
    showSelectedStop();
    updateReadings();
    updateTitle();
}

void RouteEditor::updateTitle()
{
    const QString path = m_document.filePath();
    setWindowTitle(QStringLiteral("[*]%1 - %2")
                       .arg(path.isEmpty() ? QStringLiteral("新しい路線") : QFileInfo(path).fileName(), Title));
    setWindowModified(m_document.isDirty());
}

void RouteEditor::showProblems()
{
    m_problems->clear();
    const auto &stops = m_document.source().stops;
    for (const RouteProblem &problem : m_document.problems()) {
        auto *item = new QListWidgetItem(problem.describe(stops), m_problems);
        item->setData(Qt::UserRole, problem.stop);
        item->setData(Qt::UserRole + 1, problem.column);
        item->setForeground(problem.severity == RouteProblem::Severity::Refusal ? QColor(0xb0, 0, 0)
                                                                                : QColor(0xa0, 0x50, 0));
    }
    if (m_problems->count() == 0) {
        auto *item = new QListWidgetItem(QStringLiteral("問題はありません"), m_problems);
        item->setFlags(Qt::ItemIsEnabled);
    }
}

void RouteEditor::showSelectedStop()
{
    const QModelIndex current = m_stopView->currentIndex();
    const auto &stops = m_document.source().stops;
    if (!current.isValid() || current.row() >= static_cast<int>(stops.size())) {
        m_preview->SetChimei(QString());
        m_nameState->setText(QStringLiteral("停留所を選ぶと、表示器での見え方をここに示します。"));
        return;
    }
    const QString name = stops[static_cast<size_t>(current.row())].name;
    m_preview->SetChimei(name);
    const QString problem = m_document.nameProblem(current.row() + 1);
    m_nameState->setText(problem.isEmpty() ? QStringLiteral("「%1」は表示できます。").arg(name) : problem);
}

QString RouteEditor::routeFolder() const
{
    const QString path = m_document.filePath();
    return path.isEmpty() ? QDir::currentPath() : QFileInfo(path).absolutePath();
}

void RouteEditor::updateReadings()
{
    if (m_reading) {
        m_reading->setDictionary(routeFolder(), RouteFiles::sourceReadings(m_document.source()));
    }
    m_readingColumn->readingsChanged();
}

// ---------------------------------------------------------------------------
// The fare rule panel

void RouteEditor::applyRulePanel()
{
    QStringList unreadable;
    m_document.setRule(m_rulePanel->rule(m_document.source().rule, unreadable));
    if (!unreadable.isEmpty()) {
        // The rest of the rule applies; the lines stay in the panel to be mended.
        statusBar()->showMessage(unreadable.join(QStringLiteral("。")));
    }
}

// ---------------------------------------------------------------------------
// Stops and readings

void RouteEditor::addStop(bool insert)
{
    const QModelIndex current = m_stopView->currentIndex();
    const int row = insert && current.isValid() ? current.row() : m_stops->rowCount();
    m_stops->insertRows(row, 1);
    m_stopView->setCurrentIndex(m_stops->index(row, StopTableModel::NameColumn));
    m_stopView->edit(m_stopView->currentIndex());
}

void RouteEditor::removeStops()
{
    QList<int> rows;
    for (const QModelIndex &index : m_stopView->selectionModel()->selectedIndexes()) {
        if (!rows.contains(index.row())) {
            rows << index.row();
        }
    }
    if (rows.isEmpty()) {
        return;
    }
    std::sort(rows.begin(), rows.end());
    // Rows not next to each other are removed as one step, from the last up.
    m_document.undoStack()->beginMacro(QStringLiteral("停留所の削除"));
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        m_stops->removeRows(*it, 1);
    }
    m_document.undoStack()->endMacro();
}

void RouteEditor::moveStops(int by)
{
    const QModelIndex current = m_stopView->currentIndex();
    if (!current.isValid()) {
        return;
    }
    const int row = current.row();
    const int target = row + by;
    if (target < 0 || target >= m_stops->rowCount()) {
        return;
    }
    // moveRows counts the destination before the move.
    m_stops->moveRows({}, row, 1, {}, by > 0 ? target + 1 : target);
    m_stopView->setCurrentIndex(m_stops->index(target, current.column()));
}

void RouteEditor::pasteStops()
{
    const QString text = QApplication::clipboard()->text();
    if (text.isEmpty()) {
        return;
    }
    const QModelIndex current = m_stopView->currentIndex();
    QString error;
    if (!m_stops->paste(current.isValid() ? current.row() : m_stops->rowCount(),
                        current.isValid() ? current.column() : StopTableModel::NameColumn, text, false, error)) {
        QMessageBox::warning(this, Title, QStringLiteral("貼り付けられません。\n\n") + error);
    }
}

void RouteEditor::registerReading()
{
    m_document.setReading(m_readingWord->text().trimmed(), m_readingText->text().trimmed());
    statusBar()->showMessage(QStringLiteral("「%1」の読みを登録しました（保存すると yomi.txt に書きます）")
                                 .arg(m_readingWord->text().trimmed()),
                             5000);
}

void RouteEditor::playAnnouncement()
{
    const QModelIndex current = m_announcementView->currentIndex();
    if (!current.isValid()) {
        statusBar()->showMessage(QStringLiteral("再生する放送文を選んでください"), 5000);
        return;
    }
    if (!m_speech) {
        m_speech = EspeakSpeechService().createEngine();
        if (!m_speech) {
            QMessageBox::warning(this, Title,
                                 QStringLiteral("音声合成を使えません（MeCab、espeak-ng または GStreamer が動きません）。"));
            return;
        }
    }
    m_speech->setDictionaryFolder(routeFolder());
    const QString text = m_announcements->index(current.row(), AnnouncementModel::TextColumn).data().toString();
    if (!m_speech->speak(m_reading ? m_reading->withPending(text) : text)) {
        QMessageBox::warning(this, Title, QStringLiteral("この放送文を音声にできません。\n\n") + text);
    }
}

// ---------------------------------------------------------------------------
// Files

bool RouteEditor::maybeSave()
{
    if (!m_document.isDirty()) {
        return true;
    }
    QMessageBox box(QMessageBox::Question, Title, QStringLiteral("路線の変更を保存しますか？"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.button(QMessageBox::Save)->setText(QStringLiteral("保存する"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("保存しない"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void RouteEditor::newRoute()
{
    if (maybeSave()) {
        m_document.clear();
    }
}

void RouteEditor::openDialog()
{
    if (!maybeSave()) {
        return;
    }
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("路線を開く"), routeFolder(),
        QStringLiteral("路線 (*.route.json *.hy3 *.csv *.CSV *.HY3);;すべてのファイル (*)"));
    if (!path.isEmpty()) {
        openFile(path);
    }
}

bool RouteEditor::openFile(const QString &path)
{
    QString error;
    if (!m_document.open(path, error)) {
        QMessageBox::warning(this, Title, QStringLiteral("%1 を開けません。\n\n%2").arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    return true;
}

bool RouteEditor::save()
{
    const QString path = m_document.filePath();
    if (path.isEmpty() || !path.endsWith(RouteSource::fileSuffix())) {
        return saveAs();
    }
    return saveTo(path);
}

bool RouteEditor::saveAs()
{
    QString suggested = m_document.defaultSavePath();
    if (suggested.isEmpty()) {
        const QString route = m_document.source().route.isEmpty() ? QStringLiteral("route") : m_document.source().route;
        suggested = QDir(routeFolder()).filePath(route + RouteSource::fileSuffix());
    }
    // Whether a file is replaced is asked below, with every file the save
    // would replace named, not by the dialog for the one it knows of.
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("路線を保存"), suggested,
                                                QStringLiteral("路線 (*.route.json)"), nullptr,
                                                QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) {
        return false;
    }
    if (!path.endsWith(RouteSource::fileSuffix())) {
        path += RouteSource::fileSuffix();
    }
    return saveTo(path);
}

bool RouteEditor::saveTo(const QString &path)
{
    const QStringList others = m_document.otherRoutesFiles(path);
    if (!others.isEmpty()) {
        QStringList lines;
        for (const QString &file : others) {
            lines << QStringLiteral("・%1").arg(QDir::toNativeSeparators(file));
        }
        QMessageBox box(QMessageBox::Warning, Title,
                        QStringLiteral("次のファイルはこの路線のものではありません。保存すると置き換えられ、"
                                       "元の内容は失われます。\n\n%1\n\n置き換えますか？")
                            .arg(lines.join(QLatin1Char('\n'))),
                        QMessageBox::Yes | QMessageBox::Cancel, this);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("置き換える"));
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
        box.setDefaultButton(QMessageBox::Cancel);
        if (box.exec() != QMessageBox::Yes) {
            statusBar()->showMessage(QStringLiteral("保存しませんでした"), 5000);
            return false;
        }
    }
    QString error;
    const bool built = m_document.save(path, error);
    if (!built && !m_document.draftOnly()) {
        QMessageBox::warning(this, Title, QStringLiteral("保存できません。\n\n") + error);
        return false;
    }
    QString text = built ? QString() : error;
    if (!m_document.saveChanges().isEmpty()) {
        text += (text.isEmpty() ? QStringLiteral("保存しました。") : QStringLiteral("\n\n"))
                + m_document.saveChanges().join(QLatin1Char('\n'));
    }
    if (!m_document.saveWarnings().isEmpty()) {
        text += (text.isEmpty() ? QStringLiteral("保存しました。") : QStringLiteral("\n\n"))
                + QStringLiteral("次の点に注意してください。\n\n") + m_document.saveWarnings().join(QLatin1Char('\n'));
    }
    if (!built) {
        QMessageBox::warning(this, Title, text);
    } else if (!text.isEmpty()) {
        QMessageBox::information(this, Title, text);
    }
    statusBar()->showMessage(QStringLiteral("%1 に保存しました").arg(QDir::toNativeSeparators(path)), 5000);
    return true;
}

void RouteEditor::importGtfs()
{
    if (!maybeSave()) {
        return;
    }
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("GTFSから取り込む（.zip、またはフォルダの stops.txt）"), routeFolder(),
        QStringLiteral("GTFS (*.zip stops.txt);;すべてのファイル (*)"));
    if (path.isEmpty()) {
        return;
    }
    // A folder feed is chosen by one of its files. The feed is read on a
    // thread of its own, once for its routes and once more for the chosen
    // one, each reading with the feed's whole budget.
    const QString feedPath = path.endsWith(QStringLiteral(".txt")) ? QFileInfo(path).absolutePath() : path;
    QString error;
    std::optional<std::vector<GtfsRouteChoice>> routes;
    GtfsProgress listing;
    const bool listed = GtfsImportProgress::run(this, Title, listing, [&] {
        const std::unique_ptr<GtfsFeed> feed = GtfsFeed::open(feedPath, error);
        if (feed) {
            feed->setProgress(&listing);
            routes = GtfsRouteChoice::list(*feed, error);
        }
    });
    if (!listed) {
        return;
    }
    if (!routes) {
        QMessageBox::warning(this, Title, QStringLiteral("GTFS を読めません。\n\n") + error);
        return;
    }
    GtfsImportDialog chooser(*routes, this);
    if (chooser.exec() != QDialog::Accepted) {
        return;
    }
    const GtfsImport::Request request = chooser.request();
    std::optional<GtfsImport::Result> result;
    GtfsProgress importing;
    const bool imported = GtfsImportProgress::run(this, Title, importing, [&] {
        const std::unique_ptr<GtfsFeed> feed = GtfsFeed::open(feedPath, error);
        if (feed) {
            feed->setProgress(&importing);
            result = GtfsImport::run(*feed, request, error);
        }
    });
    if (!imported) {
        statusBar()->showMessage(QStringLiteral("GTFS の取り込みを取り消しました"), 5000);
        return;
    }
    if (!result) {
        QMessageBox::warning(this, Title, QStringLiteral("取り込めません。\n\n") + error);
        return;
    }
    adoptImport(*result);
    if (!result->warnings.isEmpty()) {
        QMessageBox::information(this, Title,
                                 QStringLiteral("取り込みました。次の点に注意してください。\n\n")
                                     + result->warnings.join(QLatin1Char('\n')));
    }
}

void RouteEditor::adoptImport(const GtfsImport::Result &result)
{
    // A new route, built by the document's own edits: the import is one
    // step, and the author saves it where they like.
    m_document.clear();
    QUndoStack *undo = m_document.undoStack();
    undo->beginMacro(QStringLiteral("GTFSから取り込む"));
    const RouteSource &source = result.source;
    m_document.setRouteNumber(source.route);
    m_document.setSelectorColumn(source.selectorColumn);
    m_document.insertStops(0, source.stops);
    m_document.setRule(source.rule);
    for (const FareOverride &cell : source.overrides) {
        m_document.setFare(cell.stop, cell.ticket, cell.fare);
    }
    m_document.setAnnouncements(source.announcements, source.englishAnnouncements, QStringLiteral("放送文"));
    m_document.setHeadsignNames(source.headsignNames);
    for (const auto &[written, reading] : result.readings + source.readings) {
        m_document.setReading(written, reading);
    }
    undo->endMacro();
}

void RouteEditor::closeEvent(QCloseEvent *event)
{
    if (maybeSave()) {
        if (m_speech) {
            m_speech->stop();
        }
        event->accept();
    } else {
        event->ignore();
    }
}

// ---------------------------------------------------------------------------
// 表示器で試す

QString RouteEditor::copiesRecordPath() const
{
    return QFileInfo(m_displaySettings).absoluteDir().filePath(QStringLiteral("routeedit-copies.json"));
}

QJsonObject RouteEditor::copiesRecord() const
{
    const WholeFile::Contents file = WholeFile::read(copiesRecordPath(), CopiesRecordBytes);
    return QJsonDocument::fromJson(file.bytes).object();
}

bool RouteEditor::placeForDisplay(const QString &fareFolder, const QString &announcementFolder)
{
    m_placedFiles.clear();
    const QString folder = routeFolder();
    if (samePath(folder) == samePath(fareFolder) && samePath(folder) == samePath(announcementFolder)) {
        return true;
    }
    // The files are built again for the display's folders: the reading
    // dictionary there is merged, not replaced.
    QString error;
    std::optional<RouteFiles::Output> output = RouteFiles::build(
        m_document.source(), RouteFiles::sourceReadings(m_document.source()), announcementFolder, false, error);
    if (!output) {
        QMessageBox::warning(this, Title, QStringLiteral("表示器用のファイルを作れません。\n\n") + error);
        return false;
    }
    QStringList lines;
    QStringList replaced;
    QString fareTarget;
    for (const auto &[name, bytes] : output->files) {
        const bool fare = name.endsWith(QStringLiteral(".hy3"));
        const QString target = QDir(fare ? fareFolder : announcementFolder).filePath(name);
        if (fare) {
            fareTarget = QDir(samePath(fareFolder)).filePath(name);
        }
        lines << QStringLiteral("・%1").arg(QDir::toNativeSeparators(target));
        const WholeFile::Contents existing = WholeFile::read(target, bytes.size());
        if (name != ReadingDictionary::fileName() && existing.problem != WholeFile::Problem::Missing
            && existing.bytes != bytes) {
            replaced << QStringLiteral("・%1").arg(QDir::toNativeSeparators(target));
        }
    }
    // An earlier copy of this very route, made from this source, is
    // brought up to date without a question; anything else is asked.
    QJsonObject record = copiesRecord();
    const QString source = samePath(m_document.filePath());
    const bool ownCopy = record.value(fareTarget).toString() == source;
    if (!ownCopy) {
        QString text = QStringLiteral("表示器は運賃データを %1 から、放送と読みを %2 から読みます。"
                                      "この路線は %3 に保存されています。\n\n"
                                      "次のファイルを表示器のフォルダに書きますか？（yomi.txt は今の内容に読みを加えます）\n%4")
                           .arg(QDir::toNativeSeparators(fareFolder), QDir::toNativeSeparators(announcementFolder),
                                QDir::toNativeSeparators(folder), lines.join(QLatin1Char('\n')));
        if (!replaced.isEmpty()) {
            text += QStringLiteral("\n\n次のファイルはこの路線から写したものではなく、内容も違います。置き換えると元の内容は失われます:\n")
                    + replaced.join(QLatin1Char('\n'));
        }
        QMessageBox box(QMessageBox::Question, Title, text, QMessageBox::Yes | QMessageBox::Cancel, this);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("コピーする"));
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
        // Replacing another route's files is never the default.
        box.setDefaultButton(replaced.isEmpty() ? QMessageBox::Yes : QMessageBox::Cancel);
        if (box.exec() != QMessageBox::Yes) {
            return false;
        }
    }
    if (!RouteFiles::write(*output, fareFolder, announcementFolder, error)) {
        QMessageBox::warning(this, Title, QStringLiteral("表示器のフォルダに書けません。\n\n") + error);
        return false;
    }
    if (!ownCopy) {
        record.insert(fareTarget, source);
        QString why;
        if (!FileReplacement::write(copiesRecordPath(), QJsonDocument(record).toJson(), &why)) {
            // The copy is made; only the next one will ask again.
            statusBar()->showMessage(QStringLiteral("写した記録を残せません（%1）").arg(why), 8000);
        }
    }
    for (const auto &[name, bytes] : output->files) {
        m_placedFiles << QDir::toNativeSeparators(
            QDir(name.endsWith(QStringLiteral(".hy3")) ? fareFolder : announcementFolder).filePath(name));
    }
    return true;
}

void RouteEditor::tryOnDisplay()
{
    if ((m_document.isDirty() || !m_document.filePath().endsWith(RouteSource::fileSuffix())) && !save()) {
        return;
    }
    if (m_document.isRefused()) {
        // Only the draft could be saved: the save has said why.
        return;
    }
    const std::optional<RouteNumber> number = RouteNumber::parse(m_document.source().route);
    if (!number) {
        QMessageBox::warning(this, Title, QStringLiteral("系統番号（1～5 桁の数字）を入れてください。"));
        return;
    }
    const QString route = number->text();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restoreCursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    const QJsonObject foldersRequest{{"request", "folders"}};
    SingleInstanceGuard::Reply folders = SingleInstanceGuard::ask(m_displaySettings, foldersRequest, AnswerMs);
    if (folders.status == SingleInstanceGuard::Reply::NotRunning) {
        QApplication::restoreOverrideCursor();
        const auto answer = QMessageBox::question(
            this, Title, QStringLiteral("表示器（R57）が起動していません。起動して系統 %1 を設定しますか？").arg(route));
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (answer != QMessageBox::Yes) {
            return;
        }
        // Started in the route's folder: a display that keeps no fare folder
        // of its own reads the route from there.
        if (!QProcess::startDetached(m_displayProgram, {}, routeFolder())) {
            QMessageBox::warning(this, Title,
                                 QStringLiteral("表示器を起動できません。\n\n%1").arg(QDir::toNativeSeparators(m_displayProgram)));
            return;
        }
        const QDeadlineTimer deadline(StartMs);
        do {
            QThread::msleep(200);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            folders = SingleInstanceGuard::ask(m_displaySettings, foldersRequest, AnswerMs);
            // A display still starting up listens before it answers requests.
        } while ((folders.status != SingleInstanceGuard::Reply::Answered || !folders.answer.value("ok").toBool())
                 && !deadline.hasExpired());
    }
    if (folders.status != SingleInstanceGuard::Reply::Answered) {
        QMessageBox::warning(this, Title,
                             QStringLiteral("表示器（R57）が応答しません。表示器の画面を確かめてから、もう一度試してください。"));
        return;
    }
    if (!folders.answer.value("ok").toBool()) {
        QMessageBox::warning(this, Title, folders.answer.value("error").toString());
        return;
    }
    if (!placeForDisplay(folders.answer.value("fareFolder").toString(),
                         folders.answer.value("announcementFolder").toString())) {
        return;
    }
    const SingleInstanceGuard::Reply set =
        SingleInstanceGuard::ask(m_displaySettings, {{"request", "setRoute"}, {"route", route}}, SetRouteMs);
    if (set.status != SingleInstanceGuard::Reply::Answered) {
        QMessageBox::warning(this, Title, QStringLiteral("表示器（R57）が応答しません。"));
        return;
    }
    if (!set.answer.value("ok").toBool()) {
        QMessageBox::warning(this, Title,
                             QStringLiteral("表示器で系統 %1 を設定できません。\n\n%2")
                                 .arg(route, set.answer.value("error").toString()));
        return;
    }
    // Where the files went, when they were copied for the display.
    statusBar()->showMessage(m_placedFiles.isEmpty()
                                 ? QStringLiteral("表示器に系統 %1 を設定しました").arg(route)
                                 : QStringLiteral("表示器に系統 %1 を設定しました（%2 に写しました）")
                                       .arg(route, m_placedFiles.join(QStringLiteral("、"))),
                             15000);
}
