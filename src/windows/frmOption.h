#pragma once

#include "settings/OptionInfo.h"
#include "controls/Companion.h"
#include "display/PlatformServices.h"

#include <QDialog>

#include <array>

class ChimeiCtl_B;
class ColorButton;
class Form1;
struct LookPreset;
class M_Degit;
class OptionsStore;
class PageTabButton;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

// The options dialog (オプション). Created hidden at start-up and kept for the
// whole run. Its controls show a copy of the options store, which follows
// every change of the store; OK hands the edits to the store, applies the
// look to the display and hides the dialog. Closing it any other way drops
// the edits and hides it. Six pages, chosen with the tab buttons down the
// left.
class frmOption : public QDialog
{
    Q_OBJECT

public:
    explicit frmOption(Form1 &display, OptionsStore &store, const PlatformServices &services, QWidget *parent = nullptr);

    // The design's client size, 9570 x 5610 twips.
    static constexpr QSize DesignSize{9570 / 15, 5610 / 15};

    // The options as the controls show them, edits included.
    OptionInfo GetOptionInfo() const;
    // What OK does before hiding: the edits go to the store, and the look
    // (the digit face, the display's kind and the English announcements
    // included) onto the display.
    void acceptEdits();
    // Applies the stored look-related options to the display window.
    void SetProp();
    // Shows a ticket plug-in's capabilities and comment: 2 when the file was
    // taken as a plug-in, 0 otherwise.
    qint32 SetPlgin(const QString &strFileName);

    // The folder chooser; the starting folder is not used. Empty when cancelled.
    QString GetPathString(const QString &strDefPath);
    // The colour chooser for one colour button.
    void GetBtnColor(ColorButton *objBtn);
    // Fills the numbering-style list and selects its first style.
    void AddComboItem();

    // The colour chooser's table of custom colours, kept by the settings file.
    CustomColors &customColors() { return m_customColors; }

    // The controls, by their names.
    PageTabButton *Option1(int i) const { return m_option1.at(i); }
    QGroupBox *Frame1(int i) const { return m_frame1.at(i); }
    QPushButton *Command4() const { return m_command4; }
    // Data folders.
    QLineEdit *Text2(int i) const { return m_text2.at(i); }
    QPushButton *Command3(int i) const { return m_command3.at(i); }
    QPushButton *Command10(int i) const { return m_command10.at(i); }
    // Panel and ticket numbers.
    QCheckBox *Check1() const { return m_check1; }
    QGroupBox *Frame3() const { return m_frame3; }
    QComboBox *Combo2() const { return m_combo2; }
    QCheckBox *Check2() const { return m_check2; }
    ColorButton *Command5(int i) const { return m_command5.at(i); }
    QGroupBox *Frame4() const { return m_frame4; }
    QRadioButton *Option3(int i) const { return m_option3.at(i); }
    QGroupBox *Frame6(int i) const { return m_frame6.at(i); }
    QLineEdit *txtSelectPanel(int i) const { return m_txtSelectPanel.at(i); }
    QPushButton *Command6(int i) const { return m_command6.at(i); }
    // Digit cells and information numbers.
    QGroupBox *Frame5(int i) const { return m_frame5.at(i); }
    ColorButton *Command8(int i) const { return m_command8.at(i); }
    // The fare cells' digit face; its index is the digit style. It is kept in
    // the side settings, not in the option record.
    QComboBox *cmbSegmentStyle() const { return m_cmbSegmentStyle; }
    // "運賃のない欄": how a cell without a fare shows; its index is a
    // DegitFormat::MissingFare. Kept in the side settings too.
    QComboBox *cmbMissingFare() const { return m_cmbMissingFare; }
    // "表示器の種類": the display's look, its index a DisplayStyle. Kept in
    // the side settings.
    QComboBox *cmbDisplayStyle() const { return m_cmbDisplayStyle; }
    M_Degit *M_Degit1() const { return m_mDegit1; }
    // One button per look preset (LookPreset::all(), in its order): sets the
    // digit cells' and the stop-name display's colours and the digit face in
    // one click.
    QPushButton *cmdLookPreset(int i) const { return m_cmdLookPreset.at(i); }
    QCheckBox *Check3(int i) const { return m_check3.at(i); }
    QComboBox *Combo4(int i) const { return m_combo4.at(i); }
    // Stop-name display.
    ColorButton *Command9(int i) const { return m_command9.at(i); }
    QComboBox *Combo3() const { return m_combo3; }
    QCheckBox *Check4() const { return m_check4; }
    // The stop-name display's preview: its colours, face and weight.
    ChimeiCtl_B *ChimeiPreview() const { return m_chimeiPreview; }
    // Sounds. The sound boxes are numbered 0, 1 and 3 to 10; there is no 2.
    static constexpr int UnusedSoundIndex = 2;
    PageTabButton *Option5(int i) const { return m_option5.at(i); }
    QGroupBox *Frame2(int i) const { return m_frame2.at(i); }
    QLineEdit *txtSelectSound(int i) const { return m_txtSelectSound.at(i); }
    QPushButton *cmdSelectSound(int i) const { return m_cmdSelectSound.at(i); }
    QRadioButton *Option2(int i) const { return m_option2.at(i); }
    QComboBox *Combo1() const { return m_combo1; }
    QGroupBox *Frame8() const { return m_frame8; }
    QRadioButton *Option6(int i) const { return m_option6.at(i); }
    QGroupBox *Frame9() const { return m_frame9; }
    QRadioButton *Option7(int i) const { return m_option7.at(i); }
    // Ticket preview.
    QCheckBox *chkUseSeiriPrev() const { return m_chkUseSeiriPrev; }
    // 英語放送: kept in the side settings, not in the settings file.
    QCheckBox *chkEnglish() const { return m_chkEnglish; }
    QGroupBox *Frame10() const { return m_frame10; }
    QLineEdit *txtSeiriPlgDir() const { return m_txtSeiriPlgDir; }
    QPushButton *Command1() const { return m_command1; }
    QPushButton *Command11() const { return m_command11; }
    QListWidget *List1() const { return m_list1; }
    QPlainTextEdit *txtPlginComment() const { return m_txtPlginComment; }
    QGroupBox *Frame7() const { return m_frame7; }
    QRadioButton *Option4(int i) const { return m_option4.at(i); }
    QLabel *Label10() const { return m_label10; }
    QPushButton *Command7() const { return m_command7; }

protected:
    void reject() override;

private:
    void Form_Load();
    // Shows the stored options in the controls; changed check boxes and
    // option buttons fire their handlers so that dependent controls follow.
    void showStoredOptions();
    void buildPages();
    QGroupBox *buildFolderPage();
    QGroupBox *buildPanelPage();
    QGroupBox *buildDigitPage();
    QGroupBox *buildStopNamePage();
    QGroupBox *buildSoundPage();
    QGroupBox *buildTicketPage();
    // The sound page's two frames: before announcements (Frame2(0)) and at
    // a step (Frame2(1)). Both have one shape: one sound always, or one of
    // three as the data says; then how it plays.
    void buildSoundFrames();
    struct SoundFrame
    {
        QString title;
        const char *name;
        int firstChoice;  // the first of its two Option2 buttons
        QString byData;   // the caption of the second
        int alwaysSound;  // its sound box; the three numbered ones follow
        QWidget *columnRow = nullptr; // a row above the numbered sounds, if any
        const char *playingName;
        QString sync;
        QString async;
        std::array<const char *, 2> playingNames;
    };
    QGroupBox *buildSoundFrame(const SoundFrame &text, QGroupBox *&playingFrame, std::array<QRadioButton *, 2> &playing,
                               QGridLayout *&grid);

    // Handlers.
    void Check1_Click();
    void Check3_Click(int index);
    void Command3_Click(int index);
    void Command10_Click(int index);
    void cmdSelectSound_Click(int index);
    void Command6_Click(int index);
    void Command8_Click(int index);
    void Option3_Click();
    void chkUseSeiriPrev_Click();
    void Command7_Click();
    void Command1_Click();
    void Command11_Click();
    void Command4_Click();

    void showDigitColorsInPreview();
    void showStopNameInPreview();
    // Fills the five look colours and the digit face from a preset and shows
    // them in the previews; like a colour picked by hand, it reaches the
    // display on OK.
    void applyLookPreset(const LookPreset &preset);

    // Paths go into the settings file in Shift_JIS (CP932): a path with a
    // character it cannot hold is refused where it is entered, typed or
    // chosen, with a message naming the character.
    void guardPathFields();
    // False, after saying why, for a chosen path that cannot be kept.
    bool acceptsPath(const QString &path);
    void refusePath(char32_t character);

    // The pairs of record fields and controls, block by block in record
    // order; `visitor(field, control)` is called for each.
    template <class Info, class Visitor> void bindFolder(Info &info, Visitor &visitor) const;
    template <class Info, class Visitor> void bindPanel(Info &info, Visitor &visitor) const;
    template <class Info, class Visitor> void bindDegit(Info &info, Visitor &visitor) const;
    template <class Info, class Visitor> void bindChimei(Info &info, Visitor &visitor) const;
    template <class Info, class Visitor> void bindSound(Info &info, Visitor &visitor) const;
    template <class Info, class Visitor> void bindSeiriken(Info &info, Visitor &visitor) const;

    Form1 &m_display;
    OptionsStore &m_store;
    Companion *m_companion;
    // The plug-in whose details the ticket page and the panel's company list show.
    QString m_shownPlugin;
    CustomColors m_customColors{};
    // A refusal of typed text waits for the key press to finish; repeats
    // meanwhile (a held key) add no second box.
    bool m_refusalPending = false;

    std::array<PageTabButton *, 6> m_option1{};
    std::array<QGroupBox *, 6> m_frame1{};
    QStackedWidget *m_pages = nullptr;
    QPushButton *m_command4 = nullptr;

    std::array<QLineEdit *, 2> m_text2{};
    std::array<QPushButton *, 2> m_command3{};
    std::array<QPushButton *, 2> m_command10{};

    QCheckBox *m_check1 = nullptr;
    QGroupBox *m_frame3 = nullptr;
    QComboBox *m_combo2 = nullptr;
    QCheckBox *m_check2 = nullptr;
    std::array<ColorButton *, 3> m_command5{};
    QGroupBox *m_frame4 = nullptr;
    std::array<QRadioButton *, 8> m_option3{};
    std::array<QGroupBox *, 3> m_frame6{};
    std::array<QLineEdit *, 3> m_txtSelectPanel{};
    std::array<QPushButton *, 3> m_command6{};

    std::array<QGroupBox *, 2> m_frame5{};
    std::array<ColorButton *, 3> m_command8{};
    QComboBox *m_cmbSegmentStyle = nullptr;
    QComboBox *m_cmbMissingFare = nullptr;
    QComboBox *m_cmbDisplayStyle = nullptr;
    M_Degit *m_mDegit1 = nullptr;
    QList<QPushButton *> m_cmdLookPreset;
    std::array<QCheckBox *, 5> m_check3{};
    std::array<QComboBox *, 5> m_combo4{};

    std::array<ColorButton *, 2> m_command9{};
    QComboBox *m_combo3 = nullptr;
    QCheckBox *m_check4 = nullptr;
    ChimeiCtl_B *m_chimeiPreview = nullptr;

    std::array<PageTabButton *, 2> m_option5{};
    std::array<QGroupBox *, 2> m_frame2{};
    QStackedWidget *m_soundPages = nullptr;
    std::array<QLineEdit *, 11> m_txtSelectSound{};
    std::array<QPushButton *, 11> m_cmdSelectSound{};
    std::array<QRadioButton *, 4> m_option2{};
    QComboBox *m_combo1 = nullptr;
    QGroupBox *m_frame8 = nullptr;
    std::array<QRadioButton *, 2> m_option6{};
    QGroupBox *m_frame9 = nullptr;
    std::array<QRadioButton *, 2> m_option7{};

    QCheckBox *m_chkUseSeiriPrev = nullptr;
    QCheckBox *m_chkEnglish = nullptr;
    QGroupBox *m_frame10 = nullptr;
    QLineEdit *m_txtSeiriPlgDir = nullptr;
    QPushButton *m_command1 = nullptr;
    QPushButton *m_command11 = nullptr;
    QListWidget *m_list1 = nullptr;
    QPlainTextEdit *m_txtPlginComment = nullptr;
    QGroupBox *m_frame7 = nullptr;
    std::array<QRadioButton *, 3> m_option4{};
    QLabel *m_label10 = nullptr;
    QPushButton *m_command7 = nullptr;
};
