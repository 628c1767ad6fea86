#include "frmOption.h"

#include "settings/CaptionGap.h"
#include "settings/ColorButton.h"
#include "settings/ControlValue.h"
#include "settings/Cp932PathValidator.h"
#include "DisplayLookApplier.h"
#include "settings/LookPreset.h"
#include "settings/OptionTexts.h"
#include "settings/OptionsStore.h"
#include "settings/PageTabButton.h"
#include "settings/SettingsLog.h"
#include "settings/WrappingRadioButton.h"
#include "formats/Cp932.h"
#include "companion/PluginBridge.h"
#include "companion/PluginBridgeWidgets.h"
#include "controls/ChimeiCtl_B.h"
#include "display/BoardLayout.h"
#include "controls/M_Degit.h"
#include "display/ErrorReport.h"
#include "windows/Form1.h"
#include "display/JapaneseFonts.h"
#include "windows/frmCtl.h"
#include "ticket/PluginProperties.h"
#include "ticket/SeirikenPreview.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// SetPlgin's answer for a file taken as a plug-in.
constexpr qint32 PluginAccepted = 2;

// Window geometry in pixels: the page tabs down the left, OK below them, the
// pages filling the rest.
constexpr int Margin = 4;
constexpr int TabWidth = 96;
constexpr int TabHeight = 48;
constexpr int TabGap = 4;
constexpr QRect OkRect{Margin, frmOption::DesignSize.height() - Margin - 30, TabWidth, 30};
constexpr QRect PagesRect{Margin + TabWidth + 6, Margin, frmOption::DesignSize.width() - 2 * Margin - TabWidth - 6,
                          frmOption::DesignSize.height() - 2 * Margin};

// Inside the pages.
constexpr int Spacing = 4;
constexpr int BrowseWidth = 26;
constexpr int ColorWidth = 44;
constexpr int ColorHeight = 22;
constexpr int SubIndent = 22;
constexpr int RowHeight = 20;

template <class W>
W *named(W *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

QString indexed(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QGroupBox *frame(const QString &caption, const QString &name)
{
    return named(new QGroupBox(caption), name);
}

QLabel *note(const QString &text)
{
    auto *label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

QPushButton *browseButton(const QString &name)
{
    auto *button = named(new QPushButton(QStringLiteral("...")), name);
    button->setFixedWidth(BrowseWidth);
    return button;
}

ColorButton *colorButton(const QString &name)
{
    auto *button = named(new ColorButton, name);
    button->setFixedSize(ColorWidth, ColorHeight);
    return button;
}

// A list of the numbers 1..last with nothing else to choose, narrow enough to
// sit in a caption's gap.
QComboBox *numberList(const QString &name, int last)
{
    auto *list = named(new QComboBox, name);
    list->addItems(OptionTexts::countUpTo(last));
    list->setMaxVisibleItems(12);
    return list;
}

// A text box and its "..." chooser button side by side. Both take their
// name for assistive technology from the caption beside the row.
QHBoxLayout *pathRow(QLineEdit *text, QPushButton *chooser, const QString &caption)
{
    text->setAccessibleName(caption);
    chooser->setAccessibleName(QStringLiteral("参照 ") + caption);
    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    text->setFixedHeight(RowHeight);
    chooser->setFixedHeight(RowHeight);
    row->addWidget(text, 1);
    row->addWidget(chooser);
    return row;
}

QVBoxLayout *columnOf(QWidget *parent)
{
    auto *column = new QVBoxLayout(parent);
    column->setContentsMargins(6, 4, 6, 6);
    column->setSpacing(Spacing);
    return column;
}

void groupExclusively(QObject *owner, std::initializer_list<QAbstractButton *> buttons)
{
    auto *group = new QButtonGroup(owner);
    for (QAbstractButton *button : buttons) {
        group->addButton(button);
    }
}

} // namespace

frmOption::frmOption(Form1 &display, OptionsStore &store, const PlatformServices &services, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_display(display)
    , m_store(store)
    , m_companion(services.companion)
{
    setObjectName("frmOption");
    setWindowTitle(QStringLiteral("オプション"));
    setFixedSize(DesignSize);
    setFont(JapaneseFonts::panelFont(QStringLiteral("ＭＳ Ｐゴシック"), 9, false));
    buildPages();
    guardPathFields();
    Form_Load();
}

// ---------------------------------------------------------------------------
// Pages

void frmOption::buildPages()
{
    m_pages = named(new QStackedWidget(this), "pages");
    m_pages->setGeometry(PagesRect);
    const std::array<QString, 6> tabCaptions = {
        QStringLiteral("運賃データと　放送用データ"), QStringLiteral("パネルと整理券番号表示"),
        QStringLiteral("デジタル部品と情報用数字"),   QStringLiteral("停名の設定"),
        QStringLiteral("サウンド"),                   QStringLiteral("　　整理券　　　プレビュー"),
    };
    m_frame1 = {buildFolderPage(), buildPanelPage(), buildDigitPage(), buildStopNamePage(), buildSoundPage(),
                buildTicketPage()};
    auto *tabs = new QButtonGroup(this);
    for (int i = 0; i < 6; ++i) {
        m_frame1[i]->setObjectName(indexed("Frame1", i));
        m_pages->addWidget(m_frame1[i]);
        m_option1[i] = named(new PageTabButton(tabCaptions[i], this), indexed("Option1", i));
        m_option1[i]->setGeometry(Margin, Margin + i * (TabHeight + TabGap), TabWidth, TabHeight);
        tabs->addButton(m_option1[i]);
        connect(m_option1[i], &QAbstractButton::toggled, this, [this, i](bool on) {
            if (on) {
                m_pages->setCurrentWidget(m_frame1[i]); // brings Frame1(i) to the front
            }
        });
    }
    m_option1[0]->setChecked(true);

    m_command4 = named(new QPushButton(QStringLiteral("OK"), this), "Command4");
    m_command4->setGeometry(OkRect);
    connect(m_command4, &QPushButton::clicked, this, &frmOption::Command4_Click);

    // Enter in a text box must not press a chooser: only OK is the default.
    for (QPushButton *button : findChildren<QPushButton *>()) {
        button->setAutoDefault(false);
    }
    m_command4->setDefault(true);
}

QGroupBox *frmOption::buildFolderPage()
{
    auto *page = new QGroupBox(QStringLiteral("運賃データと放送用データ"));
    auto *column = columnOf(page);
    const std::array<QString, 2> labels = {QStringLiteral("運賃データ(*.hy3)のあるフォルダー："),
                                           QStringLiteral("放送用データ(*****Tp.csv)のあるフォルダー：")};
    const std::array<QString, 2> openCaptions = {QStringLiteral("上記運賃データの場所をエクスプローラで開く"),
                                                 QStringLiteral("上記放送用データの場所をエクスプローラで開く")};
    for (int i = 0; i < 2; ++i) {
        m_text2[i] = named(new QLineEdit, indexed("Text2", i));
        m_command3[i] = browseButton(indexed("Command3", i));
        m_command10[i] = named(new QPushButton(openCaptions[i]), indexed("Command10", i));
        if (i > 0) {
            column->addSpacing(12);
        }
        column->addWidget(new QLabel(labels[i]));
        column->addLayout(pathRow(m_text2[i], m_command3[i], labels[i]));
        column->addWidget(m_command10[i], 0, Qt::AlignLeft);
        connect(m_command3[i], &QPushButton::clicked, this, [this, i] { Command3_Click(i); });
        connect(m_command10[i], &QPushButton::clicked, this, [this, i] { Command10_Click(i); });
    }
    column->addStretch();
    return page;
}

QGroupBox *frmOption::buildPanelPage()
{
    auto *page = new QGroupBox(QStringLiteral("パネルと整理券番号表示"));
    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(6, 4, 6, 6);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(Spacing);

    // Left: the display's look, and the ticket-number labels.
    auto *left = new QVBoxLayout;
    left->setSpacing(Spacing);
    const QString styleCaption = QStringLiteral("表示器の種類：");
    m_cmbDisplayStyle = named(new QComboBox, "cmbDisplayStyle");
    m_cmbDisplayStyle->addItems(OptionTexts::displayStyles());
    m_cmbDisplayStyle->setAccessibleName(styleCaption.chopped(1));
    auto *styleRow = new QFormLayout;
    styleRow->addRow(styleCaption, m_cmbDisplayStyle);
    left->addLayout(styleRow);
    m_check1 = named(new QCheckBox(QStringLiteral("整理券番号自動表示機能を使用")), "Check1");
    left->addWidget(m_check1);
    left->addWidget(note(QStringLiteral(
        "※ユーザーパネルに直接番号をデザインしている場合には上記チェックをOFFにしてください。")));

    m_frame3 = frame(QStringLiteral("整理券番号表示設定"), "Frame3");
    auto *numbering = columnOf(m_frame3);
    m_combo2 = named(new QComboBox, "Combo2");
    // The only words about the numbering style are the frame's own.
    m_combo2->setAccessibleName(m_frame3->title());
    m_check2 = named(new QCheckBox(QStringLiteral("数字が1桁の番号は頭に0を付け足す")), "Check2");
    numbering->addWidget(m_combo2);
    numbering->addWidget(m_check2);
    numbering->addSpacing(4);
    const QString colorsCaption = QStringLiteral("整理券番号のバックライトカラー(文字色)");
    numbering->addWidget(new QLabel(colorsCaption));
    auto *colors = new QHBoxLayout;
    const std::array<QString, 3> stateLabels = {QStringLiteral("OFF："), QStringLiteral("ON1："),
                                                QStringLiteral("ON2：")};
    for (int i = 0; i < 3; ++i) {
        m_command5[i] = colorButton(indexed("Command5", i));
        m_command5[i]->setAccessibleName(colorsCaption + QLatin1Char(' ') + stateLabels[i]);
        colors->addWidget(new QLabel(stateLabels[i]));
        colors->addWidget(m_command5[i]);
        colors->addSpacing(6);
        connect(m_command5[i], &QPushButton::clicked, this, [this, i] { GetBtnColor(m_command5[i]); });
    }
    colors->addStretch();
    numbering->addLayout(colors);
    left->addWidget(m_frame3);
    left->addStretch();
    connect(m_check1, &QCheckBox::toggled, this, &frmOption::Check1_Click);

    // Right: the panel pictures.
    m_frame4 = frame(QStringLiteral("本体パネル"), "Frame4");
    auto *pictures = columnOf(m_frame4);
    m_option3[0] = named(new QRadioButton(QStringLiteral("内蔵しているパネルを自動で割り当てる")), "Option3(0)");
    m_option3[1] = named(new QRadioButton(QStringLiteral("個別に設定する")), "Option3(1)");
    pictures->addWidget(m_option3[0]);
    pictures->addWidget(m_option3[1]);
    groupExclusively(this, {m_option3[0], m_option3[1]});
    // Per state: the frame's caption, its "ユーザーパネル" and "内蔵" buttons.
    struct StateButtons
    {
        QString caption;
        int user;
        int builtIn;
    };
    const std::array<StateButtons, 3> states = {{{QStringLiteral("バックライトOFF時の画像："), 6, 7},
                                                 {QStringLiteral("ON1の画像："), 2, 3},
                                                 {QStringLiteral("ON2の画像："), 5, 4}}};
    for (int i = 0; i < 3; ++i) {
        m_frame6[i] = frame(states[i].caption, indexed("Frame6", i));
        auto *state = columnOf(m_frame6[i]);
        QRadioButton *&user = m_option3[states[i].user];
        QRadioButton *&builtIn = m_option3[states[i].builtIn];
        user = named(new QRadioButton(QStringLiteral("ユーザーパネル")), indexed("Option3", states[i].user));
        builtIn = named(new QRadioButton(QStringLiteral("内蔵")), indexed("Option3", states[i].builtIn));
        groupExclusively(this, {user, builtIn});
        auto *choice = new QHBoxLayout;
        choice->addWidget(user);
        choice->addWidget(builtIn);
        choice->addStretch();
        state->addLayout(choice);
        m_txtSelectPanel[i] = named(new QLineEdit, indexed("txtSelectPanel", i));
        m_command6[i] = browseButton(indexed("Command6", i));
        state->addLayout(pathRow(m_txtSelectPanel[i], m_command6[i], states[i].caption));
        pictures->addWidget(m_frame6[i]);
        connect(m_command6[i], &QPushButton::clicked, this, [this, i] { Command6_Click(i); });
    }
    pictures->addStretch();
    for (QRadioButton *button : m_option3) {
        connect(button, &QRadioButton::toggled, this, &frmOption::Option3_Click);
    }

    grid->addLayout(left, 0, 0);
    grid->addWidget(m_frame4, 0, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->addWidget(note(QStringLiteral(
                        "※ユーザーパネルには、現在の機種に対応の画像をご使用ください。大きいパネルの場合、はみ出た部分（右・下）が"
                        "切り取られます。逆に小さいパネルの場合は左上から表示され、余白部分はグレーになりますのでご注意ください。")),
                    1, 0, 1, 2);
    grid->setRowStretch(0, 1);
    return page;
}

QGroupBox *frmOption::buildDigitPage()
{
    auto *page = new QGroupBox(QStringLiteral("デジタル部品と情報用数字"));
    auto *column = columnOf(page);

    m_frame5[0] = frame(QStringLiteral("デジタル部品の背景色と文字色（時計つきの場合はこの部分も同色となります）"),
                        "Frame5(0)");
    auto *lookColumn = new QVBoxLayout(m_frame5[0]);
    lookColumn->setContentsMargins(6, 4, 6, 6);
    lookColumn->setSpacing(Spacing);
    auto *colorsRow = new QHBoxLayout;
    auto *colors = new QFormLayout;
    colors->setVerticalSpacing(Spacing);
    const std::array<QString, 3> labels = {QStringLiteral("背景色："), QStringLiteral("未発光時の文字色："),
                                           QStringLiteral("発光時の文字色：")};
    for (int i = 0; i < 3; ++i) {
        m_command8[i] = colorButton(indexed("Command8", i));
        colors->addRow(labels[i], m_command8[i]);
        connect(m_command8[i], &QPushButton::clicked, this, [this, i] { Command8_Click(i); });
    }
    const QString faceCaption = QStringLiteral("数字の形：");
    m_cmbSegmentStyle = named(new QComboBox, "cmbSegmentStyle");
    m_cmbSegmentStyle->addItems(OptionTexts::segmentStyles());
    m_cmbSegmentStyle->setAccessibleName(faceCaption.chopped(1));
    colors->addRow(faceCaption, m_cmbSegmentStyle);
    connect(m_cmbSegmentStyle, &QComboBox::currentIndexChanged, this,
            [this](int style) { m_mDegit1->setDegitStyle(style); });
    const QString missingCaption = QStringLiteral("運賃のない欄：");
    m_cmbMissingFare = named(new QComboBox, "cmbMissingFare");
    m_cmbMissingFare->addItems(OptionTexts::missingFares());
    m_cmbMissingFare->setAccessibleName(missingCaption.chopped(1));
    m_cmbMissingFare->setToolTip(QStringLiteral("運賃データに運賃のない欄（-1）の表示"));
    colors->addRow(missingCaption, m_cmbMissingFare);
    colorsRow->addLayout(colors);
    colorsRow->addSpacing(40);
    auto *preview = new QVBoxLayout;
    preview->addStretch();
    preview->addWidget(new QLabel(QStringLiteral("プレビュー")));
    m_mDegit1 = named(new M_Degit, "M_Degit1");
    m_mDegit1->setAccessibleCaption(QStringLiteral("プレビュー"));
    m_mDegit1->setUserSet(false);
    preview->addWidget(m_mDegit1);
    preview->addStretch();
    colorsRow->addLayout(preview);
    colorsRow->addStretch();
    lookColumn->addLayout(colorsRow);
    // Ready-made looks: the colours of this page and of the stop-name page.
    auto *presetRow = new QHBoxLayout;
    presetRow->setSpacing(Spacing);
    presetRow->addWidget(new QLabel(QStringLiteral("見た目のプリセット：")));
    const QList<LookPreset> &presets = LookPreset::all();
    for (int i = 0; i < presets.size(); ++i) {
        auto *button = named(new QPushButton(presets[i].caption), indexed("cmdLookPreset", i));
        button->setAccessibleName(presets[i].caption);
        presetRow->addWidget(button);
        m_cmdLookPreset.append(button);
        connect(button, &QPushButton::clicked, this, [this, i] { applyLookPreset(LookPreset::all().at(i)); });
    }
    presetRow->addStretch();
    lookColumn->addLayout(presetRow);
    column->addWidget(m_frame5[0]);

    m_frame5[1] = frame(QStringLiteral("情報用数字の設定"), "Frame5(1)");
    auto *info = columnOf(m_frame5[1]);
    const std::array<QString, 4> captions = {
        QStringLiteral("停留所の順番（区間・個数）を、　　　　　　  コマ目に表示する。"),
        QStringLiteral("整理券番号を、  　　　　　　コマ目に表示する。"),
        QStringLiteral("系統番号を、  　　　　　　コマ目に表示する。"),
        QStringLiteral("データの　　　  　　　　　列目の値を、  　　　　　　コマ目に表示する。"),
    };
    for (int i = 0; i < 4; ++i) {
        m_check3[i] = named(new QCheckBox(captions[i]), indexed("Check3", i));
        m_combo4[i] = numberList(indexed("Combo4", i), OptionsStore::CellCount);
    }
    m_check3[4] = named(new QCheckBox(QStringLiteral("0から数える")), "Check3(4)");
    m_combo4[4] = numberList("Combo4(4)", OptionsStore::ColumnCount);
    // The cell lists sit in the captions' gaps; the data row has the column
    // in its first gap and the cell in its second.
    for (int i = 0; i < 3; ++i) {
        CaptionGap::placeOver(m_check3[i], 0, m_combo4[i]);
    }
    CaptionGap::placeOver(m_check3[3], 0, m_combo4[4]);
    CaptionGap::placeOver(m_check3[3], 1, m_combo4[3]);
    auto *stopRow = new QHBoxLayout;
    stopRow->addWidget(m_check3[0]);
    stopRow->addSpacing(8);
    stopRow->addWidget(m_check3[4]);
    stopRow->addStretch();
    info->addLayout(stopRow);
    for (int i = 1; i < 4; ++i) {
        info->addWidget(m_check3[i]);
    }
    for (int i = 0; i < 4; ++i) {
        connect(m_check3[i], &QCheckBox::toggled, this, [this, i] { Check3_Click(i); });
    }
    column->addWidget(m_frame5[1]);
    column->addWidget(note(QStringLiteral("デジタル数字の桁ずらし、ゼロ埋めの設定は各部品をダブルクリックして設定してください。"
                                          "また、これら情報用数字は運賃の表示よりも優先されます。")));
    column->addStretch();
    return page;
}

QGroupBox *frmOption::buildStopNamePage()
{
    auto *page = new QGroupBox(QStringLiteral("停名の設定"));
    auto *column = columnOf(page);
    auto *form = new QFormLayout;
    form->setVerticalSpacing(8);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    m_command9[0] = colorButton("Command9(0)");
    m_command9[1] = colorButton("Command9(1)");
    m_combo3 = named(new QComboBox, "Combo3");
    m_combo3->addItems(OptionTexts::fontModes());
    m_combo3->setMinimumContentsLength(18);
    m_check4 = named(new QCheckBox(QStringLiteral("太字（表示の不具合はサポート対象外）")), "Check4");
    form->addRow(QStringLiteral("背景色："), m_command9[0]);
    form->addRow(QStringLiteral("文字色："), m_command9[1]);
    form->addRow(QStringLiteral("フォントオプション："), m_combo3);
    form->addRow(QString(), m_check4);
    for (int i = 0; i < 2; ++i) {
        connect(m_command9[i], &QPushButton::clicked, this, [this, i] {
            GetBtnColor(m_command9[i]);
            showStopNameInPreview();
        });
    }
    connect(m_combo3, &QComboBox::currentIndexChanged, this, &frmOption::showStopNameInPreview);
    connect(m_check4, &QCheckBox::toggled, this, &frmOption::showStopNameInPreview);
    // A preview of the strip, half as large again as on the display so that
    // the faces can be told apart.
    auto *row = new QHBoxLayout;
    row->addLayout(form);
    row->addSpacing(40);
    auto *preview = new QVBoxLayout;
    preview->addWidget(new QLabel(QStringLiteral("プレビュー")));
    m_chimeiPreview = named(new ChimeiCtl_B, "ChimeiPreview");
    m_chimeiPreview->setAccessibleName(QStringLiteral("プレビュー"));
    constexpr qreal PreviewScale = 1.5;
    m_chimeiPreview->setScale(PreviewScale);
    m_chimeiPreview->setFixedSize(BoardLayout::stopNameRect().size() * PreviewScale);
    preview->addWidget(m_chimeiPreview);
    preview->addStretch();
    row->addLayout(preview);
    row->addStretch();
    column->addLayout(row);
    column->addStretch();
    return page;
}

QGroupBox *frmOption::buildSoundPage()
{
    auto *page = new QGroupBox(QStringLiteral("サウンド（鳴らさなくてもいい項目にはファイル名を入れないで下さい）"));
    auto *column = columnOf(page);
    for (int i = 0; i < 11; ++i) {
        if (i == UnusedSoundIndex) {
            continue;
        }
        m_txtSelectSound[i] = named(new QLineEdit, indexed("txtSelectSound", i));
        m_cmdSelectSound[i] = browseButton(indexed("cmdSelectSound", i));
        connect(m_cmdSelectSound[i], &QPushButton::clicked, this, [this, i] { cmdSelectSound_Click(i); });
    }
    auto *common = new QFormLayout;
    common->setVerticalSpacing(2);
    for (int i = 0; i < 2; ++i) {
        const QString caption = i == 0 ? QStringLiteral("系統設定時のサウンド：") : QStringLiteral("リセット時のサウンド：");
        common->addRow(caption, pathRow(m_txtSelectSound[i], m_cmdSelectSound[i], caption));
    }
    column->addLayout(common);

    m_option5[1] = named(new PageTabButton(QStringLiteral("送り・戻し時のサウンド...")), "Option5(1)");
    m_option5[0] = named(new PageTabButton(QStringLiteral("放送前のサウンド...")), "Option5(0)");
    auto *subTabs = new QHBoxLayout;
    subTabs->setSpacing(2);
    auto *subTabGroup = new QButtonGroup(this);
    for (PageTabButton *tab : {m_option5[1], m_option5[0]}) {
        tab->setFixedSize(170, 22);
        subTabGroup->addButton(tab);
        subTabs->addWidget(tab);
    }
    subTabs->addStretch();
    column->addSpacing(2);
    column->addLayout(subTabs);

    m_soundPages = named(new QStackedWidget, "soundPages");
    buildSoundFrames();
    for (int i = 0; i < 2; ++i) {
        m_soundPages->addWidget(m_frame2[i]);
        connect(m_option5[i], &QAbstractButton::toggled, this, [this, i](bool on) {
            if (on) {
                m_soundPages->setCurrentWidget(m_frame2[i]); // brings Frame2(i) to the front
            }
        });
    }
    m_option5[1]->setChecked(true);
    column->addWidget(m_soundPages);
    column->addWidget(note(QStringLiteral(
        "「放送前のサウンド」再生時は、停名のスクロールが停止することがありますので、あらかじめご了承ください。")));
    column->addStretch();
    return page;
}

void frmOption::buildSoundFrames()
{
    // The column of the fare data whose value chooses the step sound.
    auto *columnLabel = new QLabel(QStringLiteral("運賃データの　　　　　　列目　　のデータが、"));
    m_combo1 = numberList("Combo1", OptionsStore::ColumnCount);
    CaptionGap::placeOver(columnLabel, 0, m_combo1);
    const std::array<SoundFrame, 2> frames = {{
        {QStringLiteral("放送前のサウンド：※音声合成放送機能が有効でない場合は以下の設定は意味を持ちません。"), "Frame2(0)", 2,
         QStringLiteral("放送データ(*.Tp.csv)内のフラグから判断して、以下の指定したサウンドを鳴らす"
                        "（フラグの内容が1～3以外の場合はサウンドは鳴りません）"),
         3, nullptr, "Frame9", QStringLiteral("同期再生(サウンドが完全に再生された後で放送開始)"),
         QStringLiteral("非同期再生(サウンドを再生しながら放送開始)"), {"Option7(0)", "Option7(1)"}},
        {QStringLiteral("送り・戻し時のサウンド"), "Frame2(1)", 0,
         QStringLiteral("運賃データ(*.hy3)の特定の列のデータから判断して、以下の指定したサウンドを鳴らす"
                        "（指定した列のデータの内容が1～3以外の場合はサウンドは鳴りません）"),
         7, columnLabel, "Frame8", QStringLiteral("同期再生(サウンドが完全に再生された後で運賃切り替え)"),
         QStringLiteral("非同期再生(サウンドを再生しながら運賃切り替え)"), {"Option6(0)", "Option6(1)"}},
    }};
    std::array<QGridLayout *, 2> grids{};
    // The step frame first: the tab key visits it first, as its sub-tab comes first.
    m_frame2[1] = buildSoundFrame(frames[1], m_frame8, m_option6, grids[1]);
    m_frame2[0] = buildSoundFrame(frames[0], m_frame9, m_option7, grids[0]);

    m_chkEnglish = named(new QCheckBox(QStringLiteral("英語放送（英語の放送データ *tp.en.csv のある路線で、各放送の後に英語で放送する）")),
                         "chkEnglish");
    m_chkEnglish->setAccessibleName(QStringLiteral("英語放送"));
    const int row = grids[0]->rowCount();
    grids[0]->addWidget(m_chkEnglish, row, 0, 1, 3);
    grids[0]->setRowStretch(row + 1, 1);
    for (QGridLayout *grid : grids) {
        grid->setColumnStretch(2, 1);
    }
}

QGroupBox *frmOption::buildSoundFrame(const SoundFrame &text, QGroupBox *&playingFrame,
                                      std::array<QRadioButton *, 2> &playing, QGridLayout *&grid)
{
    auto *box = frame(text.title, QLatin1String(text.name));
    grid = new QGridLayout(box);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setVerticalSpacing(2);
    grid->setHorizontalSpacing(6);

    // One sound always, or one of three as the data says.
    QRadioButton *&always = m_option2[text.firstChoice];
    QRadioButton *&byData = m_option2[text.firstChoice + 1];
    always = named(new QRadioButton(QStringLiteral("常に右記のサウンドを鳴らす")), indexed("Option2", text.firstChoice));
    byData = named(new WrappingRadioButton(text.byData), indexed("Option2", text.firstChoice + 1));
    groupExclusively(this, {always, byData});
    grid->addWidget(always, 0, 0, 1, 2);
    grid->addLayout(pathRow(m_txtSelectSound[text.alwaysSound], m_cmdSelectSound[text.alwaysSound], always->text()), 0, 2);
    grid->addWidget(byData, 1, 0, 1, 3);
    int row = 2;
    if (text.columnRow) {
        grid->addWidget(text.columnRow, row++, 1, 1, 2);
    }
    for (int n = 1; n <= 3; ++n, ++row) {
        const QString caption = QStringLiteral("「%1」の場合").arg(n);
        const int sound = text.alwaysSound + n;
        grid->addWidget(new QLabel(caption), row, 1);
        grid->addLayout(pathRow(m_txtSelectSound[sound], m_cmdSelectSound[sound], caption), row, 2);
    }

    playingFrame = frame(QStringLiteral("再生方法"), QLatin1String(text.playingName));
    auto *playingColumn = columnOf(playingFrame);
    playingColumn->setSpacing(0);
    playingColumn->setContentsMargins(6, 0, 6, 2);
    playing[0] = named(new QRadioButton(text.sync), QLatin1String(text.playingNames[0]));
    playing[1] = named(new QRadioButton(text.async), QLatin1String(text.playingNames[1]));
    groupExclusively(this, {playing[0], playing[1]});
    playingColumn->addWidget(playing[0]);
    playingColumn->addWidget(playing[1]);
    grid->addWidget(playingFrame, row, 0, 1, 3);
    grid->setColumnMinimumWidth(0, SubIndent);
    return box;
}

QGroupBox *frmOption::buildTicketPage()
{
    auto *page = new QGroupBox(QStringLiteral("整理券プレビュー"));
    auto *column = columnOf(page);
    m_chkUseSeiriPrev = named(new QCheckBox(QStringLiteral("整理券プレビュー機能を使用する")), "chkUseSeiriPrev");
    column->addWidget(m_chkUseSeiriPrev);
    connect(m_chkUseSeiriPrev, &QCheckBox::toggled, this, &frmOption::chkUseSeiriPrev_Click);

    m_frame10 = frame(QStringLiteral("整理券プラグイン設定"), "Frame10");
    auto *plugin = columnOf(m_frame10);
    const QString pluginCaption
        = QStringLiteral("整理券プラグイン（整理券プレビューを使用しない場合は、何も入れないでください）：");
    plugin->addWidget(new QLabel(pluginCaption));
    m_txtSeiriPlgDir = named(new QLineEdit, "txtSeiriPlgDir");
    m_command1 = browseButton("Command1");
    // The small cross that forgets the plug-in.
    m_command11 = named(new QPushButton(QStringLiteral("×")), "Command11");
    m_command11->setFixedWidth(BrowseWidth);
    auto *pathLine = pathRow(m_txtSeiriPlgDir, m_command1, pluginCaption);
    pathLine->addWidget(m_command11);
    plugin->addLayout(pathLine);
    connect(m_command1, &QPushButton::clicked, this, &frmOption::Command1_Click);
    connect(m_command11, &QPushButton::clicked, this, &frmOption::Command11_Click);

    auto *details = new QGridLayout;
    details->setVerticalSpacing(1);
    m_list1 = named(new QListWidget, "List1");
    m_txtPlginComment = named(new QPlainTextEdit, "txtPlginComment");
    m_txtPlginComment->setReadOnly(true);
    QPalette grey = m_txtPlginComment->palette();
    grey.setColor(QPalette::Base, palette().color(QPalette::Window));
    m_txtPlginComment->setPalette(grey);
    for (QWidget *box : {static_cast<QWidget *>(m_list1), static_cast<QWidget *>(m_txtPlginComment)}) {
        box->setFixedHeight(72);
    }
    const QString propertiesCaption = QStringLiteral("上記プラグインのプロパティ：");
    const QString commentCaption = QStringLiteral("上記プラグインの特記事項：");
    m_list1->setAccessibleName(propertiesCaption);
    m_txtPlginComment->setAccessibleName(commentCaption);
    details->addWidget(new QLabel(propertiesCaption), 0, 0);
    details->addWidget(new QLabel(commentCaption), 0, 1);
    details->addWidget(m_list1, 1, 0);
    details->addWidget(m_txtPlginComment, 1, 1);
    plugin->addLayout(details);
    column->addWidget(m_frame10);

    m_frame7 = frame(QStringLiteral("日付の設定（整理券プラグインが日付の印字をサポートしているときに有効）"), "Frame7");
    auto *date = columnOf(m_frame7);
    date->setSpacing(1);
    m_option4[0] = named(new QRadioButton(QStringLiteral("システムの日付を使用（整理券印字と同時に日付を更新、デフォルト）")),
                         "Option4(0)");
    m_option4[1] = named(new QRadioButton(QStringLiteral("システムの日付を使用（系統設定した時点の日付を保持）")),
                         "Option4(1)");
    m_option4[2] = named(new QRadioButton(QStringLiteral("右記の日付に固定")), "Option4(2)");
    groupExclusively(this, {m_option4[0], m_option4[1], m_option4[2]});
    date->addWidget(m_option4[0]);
    date->addWidget(m_option4[1]);
    auto *heldNote = note(QStringLiteral(
        "系統設定した際の日付が保持され、日付が途中で変わっても次回系統設定するまで整理券の日付変更を行いません。"));
    heldNote->setContentsMargins(SubIndent, 0, 0, 2);
    date->addWidget(heldNote);
    auto *fixedRow = new QHBoxLayout;
    m_label10 = named(new QLabel, "Label10");
    m_label10->setFrameShape(QFrame::StyledPanel);
    m_label10->setMinimumWidth(80);
    m_label10->setAlignment(Qt::AlignCenter);
    m_command7 = named(new QPushButton(QStringLiteral("日付選択...")), "Command7");
    fixedRow->addWidget(m_option4[2]);
    fixedRow->addSpacing(8);
    fixedRow->addWidget(m_label10);
    fixedRow->addWidget(m_command7);
    fixedRow->addStretch();
    date->addLayout(fixedRow);
    connect(m_command7, &QPushButton::clicked, this, &frmOption::Command7_Click);
    column->addWidget(m_frame7);
    column->addStretch();
    return page;
}

// ---------------------------------------------------------------------------
// First use

void frmOption::Form_Load()
{
    m_mDegit1->setDegitSize(0);
    // A fare in the preview shows lit and unlit segments side by side.
    m_mDegit1->setValue(210);
    AddComboItem();
    showStoredOptions();
    connect(&m_store, &OptionsStore::changed, this, &frmOption::showStoredOptions);

    // Every follower starts in agreement with its governor.
    Check1_Click();
    for (int i = 0; i < 4; ++i) {
        Check3_Click(i);
    }
    Option3_Click();
    chkUseSeiriPrev_Click();
}

void frmOption::AddComboItem()
{
    m_combo2->clear();
    m_combo2->addItems(OptionTexts::numberingStyles());
    m_combo2->setCurrentIndex(0);
}

// ---------------------------------------------------------------------------
// Handlers

void frmOption::Check1_Click()
{
    m_frame3->setEnabled(m_check1->isChecked());
}

void frmOption::Check3_Click(int index)
{
    const bool on = m_check3.at(index)->isChecked();
    switch (index) {
    case 0:
        m_combo4[0]->setEnabled(on);
        m_check3[4]->setEnabled(on);
        break;
    case 3:
        m_combo4[3]->setEnabled(on);
        m_combo4[4]->setEnabled(on);
        break;
    default:
        m_combo4.at(index)->setEnabled(on);
        break;
    }
}

void frmOption::Option3_Click()
{
    const bool perState = !m_option3[0]->isChecked();
    for (QGroupBox *state : m_frame6) {
        state->setEnabled(perState);
        state->setVisible(perState);
    }
}

void frmOption::chkUseSeiriPrev_Click()
{
    const bool inUse = m_chkUseSeiriPrev->isChecked();
    for (QGroupBox *follower : {m_frame10, m_frame7}) {
        follower->setEnabled(inUse);
        follower->setVisible(inUse);
    }
}

QString frmOption::GetPathString(const QString & /*strDefPath*/)
{
    return m_companion->Brix3FolderDlg(this, QStringLiteral("フォルダーを選択してください"));
}

void frmOption::Command3_Click(int index)
{
    const QString folder = GetPathString(m_text2.at(index)->text());
    if (!folder.isEmpty() && acceptsPath(folder)) {
        m_text2.at(index)->setText(folder);
    }
}

void frmOption::Command10_Click(int index)
{
    // Showing the folder is a convenience: whatever the desktop answers, the
    // dialog stays as it is.
    const QString folder = m_text2.at(index)->text();
    if (!folder.isEmpty()) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(folder).absoluteFilePath()));
    }
}

void frmOption::cmdSelectSound_Click(int index)
{
    const QString file =
        m_companion->Brix3FileDlg(this, 0, OptionTexts::soundFilter(), QString(), QStringLiteral("サウンドの選択"));
    if (!file.isEmpty() && acceptsPath(file)) {
        m_txtSelectSound.at(index)->setText(file);
    }
}

void frmOption::Command6_Click(int index)
{
    const QString file = m_companion->Brix3FileDlg(this, 0, OptionTexts::panelPictureFilter(), QString(),
                                                   QStringLiteral("パネル画像の選択"));
    if (!file.isEmpty() && acceptsPath(file)) {
        m_txtSelectPanel.at(index)->setText(file);
    }
}

void frmOption::guardPathFields()
{
    const auto refuseAfterTheKey = [this](char32_t character) {
        if (m_refusalPending) {
            return;
        }
        m_refusalPending = true;
        QMetaObject::invokeMethod(
            this,
            [this, character] {
                refusePath(character);
                m_refusalPending = false;
            },
            Qt::QueuedConnection);
    };
    QList<QLineEdit *> paths{m_text2.begin(), m_text2.end()};
    paths << QList<QLineEdit *>{m_txtSelectPanel.begin(), m_txtSelectPanel.end()}
          << QList<QLineEdit *>{m_txtSelectSound.begin(), m_txtSelectSound.end()} << m_txtSeiriPlgDir;
    paths.removeAll(nullptr); // the sound index that no sound uses
    for (QLineEdit *path : paths) {
        path->setValidator(new Cp932PathValidator(refuseAfterTheKey, path));
    }
}

bool frmOption::acceptsPath(const QString &path)
{
    const std::optional<char32_t> character = Cp932::firstUnencodable(path);
    if (character) {
        refusePath(*character);
    }
    return !character;
}

void frmOption::refusePath(char32_t character)
{
    qCInfo(lcSettings).noquote() << QStringLiteral("A path was refused in the options: %1 has no Shift_JIS (CP932) form")
                                        .arg(Cp932::codePointName(character));
    ErrorReport::show(this, ErrorReport::unwritablePathText(character));
}

void frmOption::GetBtnColor(ColorButton *objBtn)
{
    quint32 color = objBtn->color();
    if (m_companion->Brix3ChooseColor(this, color, m_customColors) != 0) {
        objBtn->setColor(color);
    }
}

void frmOption::Command8_Click(int index)
{
    GetBtnColor(m_command8.at(index));
    showDigitColorsInPreview();
}

void frmOption::showDigitColorsInPreview()
{
    m_mDegit1->setBackColor(m_command8[0]->color());
    m_mDegit1->setBaseForeColor(m_command8[1]->color());
    m_mDegit1->setDegitForeColor(m_command8[2]->color());
}

void frmOption::showStopNameInPreview()
{
    m_chimeiPreview->setBackColor(m_command9[0]->color());
    m_chimeiPreview->setForeColor(m_command9[1]->color());
    m_chimeiPreview->setFontMode(m_combo3->currentIndex());
    m_chimeiPreview->setFontBold(m_check4->isChecked());
    // A new background erases the dots: the name is drawn afresh.
    m_chimeiPreview->SetChimei(QStringLiteral("駅前通り"));
}

void frmOption::Command7_Click()
{
    SystemTime chosen;
    if (m_companion->Call_dlg111(this, chosen) != 0) {
        m_label10->setText(OptionTexts::fixedDate(chosen));
    }
}

void frmOption::Command1_Click()
{
    const QString file = m_companion->Brix3FileDlg(this, 0, OptionTexts::pluginFilter(), QString(),
                                                   QStringLiteral("プラグインの選択"));
    // A path the settings cannot keep changes nothing, not even the company
    // list of the plug-in in use.
    if (!file.isEmpty() && !acceptsPath(file)) {
        return;
    }
    // The company list starts afresh, so choosing the same plug-in again
    // does not list its companies twice.
    if (frmCtl *controlPanel = m_display.controlPanel()) {
        controlPanel->forgetPluginCompanies();
    }
    // A cancelled chooser gives an empty path, which is refused the same way.
    if (SetPlgin(file) != 0) {
        m_txtSeiriPlgDir->setText(file);
        m_shownPlugin = file;
    } else {
        ErrorReport::show(this, ErrorReport::pluginLoadText(), ErrorReport::pluginLoadTitle());
    }
}

void frmOption::Command11_Click()
{
    m_txtSeiriPlgDir->clear();
    m_list1->clear();
    m_txtPlginComment->clear();
    m_shownPlugin.clear();
}

void frmOption::Command4_Click()
{
    acceptEdits();
    hide();
}

void frmOption::reject()
{
    // Closed without OK: the edits are dropped, the next opening shows the
    // options as they are.
    showStoredOptions();
    QDialog::reject();
}

qint32 frmOption::SetPlgin(const QString &strFileName)
{
    if (strFileName.isEmpty()) {
        return 0;
    }
    PlgInfo info;
    if (PluginBridge::Brix4_GetPlgInfo(strFileName, info) == 0) {
        return 0;
    }
    PluginBridgeWidgets::Brix4_SetPlgComment(strFileName, m_txtPlginComment);
    m_list1->clear();
    m_list1->addItems(PluginProperties::lines(info));
    if (frmCtl *controlPanel = m_display.controlPanel()) {
        controlPanel->takePlugin(strFileName, info);
    }
    return PluginAccepted;
}

void frmOption::acceptEdits()
{
    // The choices kept in the side settings are read first: the store's
    // change shows the display's own again.
    const auto style = static_cast<DisplayStyle>(m_cmbDisplayStyle->currentIndex());
    const int segmentStyle = m_cmbSegmentStyle->currentIndex();
    const auto missingFare = static_cast<DegitFormat::MissingFare>(m_cmbMissingFare->currentIndex());
    const bool english = m_chkEnglish->isChecked();
    // Taken whole: every control offers only values within the bounds.
    const OptionResult refused = m_store.assign(GetOptionInfo());
    Q_ASSERT(!refused);
    // Back on the board first, so that the look decides which of its labels
    // show; the LCD, last, covers whatever the look showed.
    if (style == DisplayStyle::Led) {
        m_display.setDisplayStyle(style);
    }
    m_display.setSegmentStyle(segmentStyle);
    m_display.setMissingFare(missingFare);
    SetProp();
    m_display.setDisplayStyle(style);
    if (frmCtl *controlPanel = m_display.controlPanel()) {
        controlPanel->setEnglishAnnouncements(english);
    }
    // The side-kept choices as the display now has them.
    showStoredOptions();
}

void frmOption::SetProp()
{
    DisplayLookApplier(m_display).apply(m_store.info());
    // The look shows the ticket-number labels; an LCD covers them again.
    m_display.setDisplayStyle(m_display.displayStyle());
}

// ---------------------------------------------------------------------------
// The option record

template <class Info, class Visitor>
void frmOption::bindFolder(Info &info, Visitor &visitor) const
{
    visitor(info.Folder.FareDataDir, m_text2[0]);
    visitor(info.Folder.TapeDataDir, m_text2[1]);
}

template <class Info, class Visitor>
void frmOption::bindPanel(Info &info, Visitor &visitor) const
{
    auto &panel = info.Panel;
    visitor(panel.AutoSeiriNum, m_check1);
    visitor(panel.SeiriColorOff, m_command5[0]);
    visitor(panel.SeiriColorOn1, m_command5[1]);
    visitor(panel.SeiriColorOn2, m_command5[2]);
    visitor(panel.SeiriNumStyle, m_combo2);
    visitor(panel.SeiriZeroPad, m_check2);
    visitor(panel.PanelAuto, m_option3[0]);
    visitor(panel.PanelCustom, m_option3[1]);
    visitor(panel.PanelOffBuiltIn, m_option3[7]);
    visitor(panel.PanelOffUser, m_option3[6]);
    visitor(panel.PanelOn1BuiltIn, m_option3[3]);
    visitor(panel.PanelOn1User, m_option3[2]);
    visitor(panel.PanelOn2BuiltIn, m_option3[4]);
    visitor(panel.PanelOn2User, m_option3[5]);
    visitor(panel.PanelOffFile, m_txtSelectPanel[0]);
    visitor(panel.PanelOn1File, m_txtSelectPanel[1]);
    visitor(panel.PanelOn2File, m_txtSelectPanel[2]);
}

template <class Info, class Visitor>
void frmOption::bindDegit(Info &info, Visitor &visitor) const
{
    auto &degit = info.Degit;
    visitor(degit.DegitBackColor, m_command8[0]);
    visitor(degit.DegitBaseColor, m_command8[1]);
    visitor(degit.DegitLitColor, m_command8[2]);
    visitor(degit.InfoStopOn, m_check3[0]);
    visitor(degit.InfoStopCell, m_combo4[0]);
    visitor(degit.InfoStopFromZero, m_check3[4]);
    visitor(degit.InfoSeiriOn, m_check3[1]);
    visitor(degit.InfoSeiriCell, m_combo4[1]);
    visitor(degit.InfoRouteOn, m_check3[2]);
    visitor(degit.InfoRouteCell, m_combo4[2]);
    visitor(degit.InfoDataOn, m_check3[3]);
    visitor(degit.InfoDataColumn, m_combo4[4]);
    visitor(degit.InfoDataCell, m_combo4[3]);
}

template <class Info, class Visitor>
void frmOption::bindChimei(Info &info, Visitor &visitor) const
{
    visitor(info.Chimei.ChimeiBackColor, m_command9[0]);
    visitor(info.Chimei.ChimeiForeColor, m_command9[1]);
    visitor(info.Chimei.ChimeiFontMode, m_combo3);
    visitor(info.Chimei.ChimeiBold, m_check4);
}

template <class Info, class Visitor>
void frmOption::bindSound(Info &info, Visitor &visitor) const
{
    auto &sound = info.Sound;
    visitor(sound.SndRouteSet, m_txtSelectSound[0]);
    visitor(sound.SndReset, m_txtSelectSound[1]);
    visitor(sound.StepSndAlways, m_option2[0]);
    visitor(sound.StepSndByColumn, m_option2[1]);
    visitor(sound.StepSndSync, m_option6[0]);
    visitor(sound.StepSndAsync, m_option6[1]);
    visitor(sound.StepSndFile, m_txtSelectSound[7]);
    visitor(sound.StepSndColumn, m_combo1);
    visitor(sound.StepSnd1, m_txtSelectSound[8]);
    visitor(sound.StepSnd2, m_txtSelectSound[9]);
    visitor(sound.StepSnd3, m_txtSelectSound[10]);
    visitor(sound.TapeSndAlways, m_option2[2]);
    visitor(sound.TapeSndByFlag, m_option2[3]);
    visitor(sound.TapeSndSync, m_option7[0]);
    visitor(sound.TapeSndAsync, m_option7[1]);
    visitor(sound.TapeSndFile, m_txtSelectSound[3]);
    visitor(sound.TapeSnd1, m_txtSelectSound[4]);
    visitor(sound.TapeSnd2, m_txtSelectSound[5]);
    visitor(sound.TapeSnd3, m_txtSelectSound[6]);
}

template <class Info, class Visitor>
void frmOption::bindSeiriken(Info &info, Visitor &visitor) const
{
    auto &ticket = info.Seiriken;
    visitor(ticket.UseSeiriPrev, m_chkUseSeiriPrev);
    visitor(ticket.PluginPath, m_txtSeiriPlgDir);
    visitor(ticket.DateAtPrint, m_option4[0]);
    visitor(ticket.DateAtRouteSet, m_option4[1]);
    visitor(ticket.DateFixed, m_option4[2]);
    visitor(ticket.FixedDate, m_label10);
}

namespace {

// Reads a control's value into its record field.
struct ControlReader
{
    void operator()(QString &field, const QLineEdit *text) const { field = text->text(); }
    void operator()(QString &field, const QLabel *label) const { field = label->text(); }
    void operator()(quint32 &field, const ColorButton *button) const { field = button->color(); }
    void operator()(qint16 &field, const QCheckBox *box) const { field = ControlValue::checkValue(box); }
    void operator()(qint16 &field, const QRadioButton *button) const { field = ControlValue::optionValue(button); }
    void operator()(qint16 &field, const QComboBox *list) const { field = ControlValue::listIndex(list); }
};

// Writes record fields into their controls.
struct ControlWriter
{
    void operator()(const QString &field, QLineEdit *text) const { text->setText(field); }
    void operator()(const QString &field, QLabel *label) const { label->setText(field); }
    void operator()(quint32 field, ColorButton *button) const { button->setColor(field); }
    void operator()(qint16 field, QCheckBox *box) const { ControlValue::setCheckValue(box, field); }
    void operator()(qint16 field, QRadioButton *button) const { ControlValue::setOptionValue(button, field); }
    void operator()(qint16 field, QComboBox *list) const { ControlValue::setListIndex(list, field); }
};

} // namespace

void frmOption::showStoredOptions()
{
    const ControlWriter writer;
    const OptionInfo &info = m_store.info();
    bindFolder(info, writer);
    bindPanel(info, writer);
    bindDegit(info, writer);
    bindChimei(info, writer);
    bindSound(info, writer);
    bindSeiriken(info, writer);
    showDigitColorsInPreview();
    showStopNameInPreview();
    // The choices kept in the side settings, as the display and the panel have them.
    m_cmbSegmentStyle->setCurrentIndex(m_display.segmentStyle());
    m_cmbMissingFare->setCurrentIndex(static_cast<int>(m_display.missingFare()));
    m_cmbDisplayStyle->setCurrentIndex(static_cast<int>(m_display.displayStyle()));
    if (const frmCtl *controlPanel = m_display.controlPanel()) {
        m_chkEnglish->setChecked(controlPanel->englishAnnouncements());
    }
    // Another plug-in: its details, and the panel's company list rebuilt
    // from it. A path that is no plug-in (any more) leaves them empty and
    // says nothing at this point.
    if (info.Seiriken.PluginPath != m_shownPlugin) {
        m_list1->clear();
        m_txtPlginComment->clear();
        if (frmCtl *controlPanel = m_display.controlPanel()) {
            controlPanel->Combo1()->clear();
        }
        SetPlgin(info.Seiriken.PluginPath);
        m_shownPlugin = info.Seiriken.PluginPath;
    }
}

OptionInfo frmOption::GetOptionInfo() const
{
    OptionInfo info;
    ControlReader reader;
    bindFolder(info, reader);
    bindPanel(info, reader);
    bindDegit(info, reader);
    bindChimei(info, reader);
    bindSound(info, reader);
    bindSeiriken(info, reader);
    return info;
}

void frmOption::applyLookPreset(const LookPreset &preset)
{
    // Through the record, as a load would put the colours in.
    OptionInfo look = GetOptionInfo();
    preset.applyTo(look);
    const ControlWriter writer;
    bindDegit(look, writer);
    bindChimei(look, writer);
    m_cmbSegmentStyle->setCurrentIndex(preset.segmentStyle);
    showDigitColorsInPreview();
    showStopNameInPreview();
}
