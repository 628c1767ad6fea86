#include "frmCtl.h"

#include "controls/ChimeiCtl_B.h"
#include "display/ErrorReport.h"
#include "display/Form1.h"
#include "settings/ColorButton.h"
#include "settings/frmOption.h"
#include "sound/TapeOptions.h"
#include "sound/mdlM_Tape.h"
#include "sound/mdlSndAPI.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

// A rectangle of the design, in twips (15 to the pixel).
QRect twips(int left, int top, int width, int height)
{
    return {left / 15, top / 15, width / 15, height / 15};
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption, const QRect &place,
                        const QColor &face = QColor())
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    button->setFocusPolicy(Qt::NoFocus);
    if (face.isValid()) {
        QPalette palette = button->palette();
        palette.setColor(QPalette::Button, face);
        button->setPalette(palette);
    }
    return button;
}

} // namespace

frmCtl::frmCtl(Form1 &display, const PlatformServices &services, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint)
    , m_display(display)
    , m_services(services)
{
    setObjectName("frmCtl");
    setWindowTitle(QStringLiteral("集中操作盤"));
    setFixedSize(DesignSize);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);

    m_command4 = new QPushButton(QStringLiteral("設定..."), this);
    m_command4->setObjectName("Command4");
    m_command4->setGeometry(273, 143, 72, 24);
    connect(m_command4, &QPushButton::clicked, this, &frmCtl::Command4_Click);
    m_tape = std::make_unique<mdlM_Tape>(m_services.speech, m_services.chimes, [this] { return tapeOptions(); });
    createTapeGroup();
}

frmCtl::~frmCtl() = default;

void frmCtl::createTapeGroup()
{
    m_grpM_Tape = new QGroupBox(this);
    m_grpM_Tape->setObjectName("grpM_Tape");
    m_grpM_Tape->setGeometry(twips(2040, 660, 2175, 780));
    QPalette palette = m_grpM_Tape->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    m_grpM_Tape->setPalette(palette);

    const QColor green(0x00, 0xC0, 0x00); // 0x00C000
    m_cmdTapeBack = makeButton(m_grpM_Tape, "cmdTapeBack", QStringLiteral("戻し"), twips(90, 300, 540, 390), green);
    m_cmdTapeNext = makeButton(m_grpM_Tape, "cmdTapeNext", QStringLiteral("送り"), twips(660, 300, 540, 390), green);
    m_cmdTapeStop = makeButton(m_grpM_Tape, "cmdTapeStop", QStringLiteral("■"), twips(1230, 300, 360, 390));
    m_cmdTapeSet = makeButton(m_grpM_Tape, "cmdTapeSet", QStringLiteral("調整"), twips(1620, 300, 480, 390));
    connect(m_cmdTapeBack, &QPushButton::clicked, this, &frmCtl::cmdTapeBack_Click);
    connect(m_cmdTapeNext, &QPushButton::clicked, this, &frmCtl::cmdTapeNext_Click);
    connect(m_cmdTapeStop, &QPushButton::clicked, this, &frmCtl::cmdTapeStop_Click);
    connect(m_cmdTapeSet, &QPushButton::clicked, this, &frmCtl::cmdTapeSet_Click);

    connect(m_tape.get(), &mdlM_Tape::groupChanged, this, &frmCtl::showTapeGroup);
    showTapeGroup();
}

void frmCtl::showTapeGroup()
{
    m_grpM_Tape->setTitle(m_tape->groupCaption());
    m_grpM_Tape->setEnabled(m_tape->groupEnabled());
    for (QPushButton *button : {m_cmdTapeBack, m_cmdTapeNext, m_cmdTapeStop, m_cmdTapeSet}) {
        button->setEnabled(m_tape->buttonsEnabled());
    }
}

TapeOptions frmCtl::tapeOptions() const
{
    TapeOptions tape;
    if (const frmOption *options = m_display.optionsDialog()) {
        tape.soundAlways = options->Option2(2)->isChecked();
        tape.alwaysSound = options->txtSelectSound(3)->text();
        for (int flag = 0; flag < 3; ++flag) {
            tape.flagSounds.at(flag) = options->txtSelectSound(4 + flag)->text();
        }
        tape.waitForSound = options->Option7(0)->isChecked();
    }
    return tape;
}

void frmCtl::cmdTapeNext_Click()
{
    m_tape->TapeNext();
    if (m_tape->GetTapeStepFlag(m_tape->GetTapePos()) == 1) {
        emit dataStepRequested(1);
    }
}

void frmCtl::cmdTapeBack_Click()
{
    m_tape->TapeBack();
    if (m_tape->GetTapeStepFlag(m_tape->GetTapePos()) == 1) {
        emit dataStepRequested(0);
    }
}

void frmCtl::cmdTapeStop_Click()
{
    m_tape->StopTape();
}

void frmCtl::cmdTapeSet_Click()
{
    m_tape->ShowVoiceDialog(this);
}

void frmCtl::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
}

void frmCtl::Form_Load()
{
    // The display window's caption names the model: the program file's name.
    m_display.setWindowTitle(QStringLiteral("Tavelo - 型番:")
                             + QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
    m_tape->InitSpeech();
}

bool frmCtl::Form_QueryUnload()
{
    return QMessageBox::question(this, QStringLiteral("Taveloの終了確認"), QStringLiteral("Taveloを終了しますか？"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

void frmCtl::closeEvent(QCloseEvent *event)
{
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    event->accept();
    m_display.ChimeiCtl()->SetChimei(QString());
    if (m_services.multimedia) {
        mdlSndAPI(*m_services.multimedia).CloseAllSnd();
    }
    m_tape->ReleaseSpeech();
    m_display.SaveIni();
    emit quitRequested();
}

void frmCtl::Command4_Click()
{
    frmOption *options = m_display.optionsDialog();
    if (!options) {
        return;
    }
    m_display.setEnabled(false);
    setEnabled(false);
    options->exec();
    m_display.setEnabled(true);
    setEnabled(true);
    showCurrentStopName();
}

void frmCtl::showCurrentStopName()
{
    // The strip is blanked first; a new colour takes effect with the next
    // name. Until a route is set there is no current stop, so it stays blank.
    m_display.ChimeiCtl()->SetChimei(QString());
}

void frmCtl::Option4_Click(int Index)
{
    frmOption *options = m_display.optionsDialog();
    if (!options) {
        return;
    }
    if (!options->usesUserPanel(Index)) {
        m_display.setPicture(m_display.imgRes(Index));
    } else if (const QString file = options->txtSelectPanel(Index)->text(); QFileInfo(file).isFile()) {
        // A missing file leaves the picture as it is, without a word.
        QImageReader reader(file);
        const QImage image = reader.read();
        if (image.isNull()) {
            const int errorNumber = reader.error() == QImageReader::FileNotFoundError ? 53
                : reader.error() == QImageReader::DeviceError                       ? 57
                                                                                    : 481;
            showPictureError(errorNumber);
        } else {
            // A larger picture is cut at the right and bottom; a smaller one
            // sits at the top left on grey.
            QPixmap panel(m_display.size());
            panel.fill(QColor(0xC0, 0xC0, 0xC0));
            QPainter(&panel).drawImage(0, 0, image);
            m_display.setPicture(panel);
        }
    }
    m_display.setLabelColor(options->Command5(Index)->color());
}

void frmCtl::showPictureError(int errorNumber)
{
    ErrorReport::show(this, ErrorReport::panelPictureText(errorNumber), QStringLiteral("エラー"));
}
