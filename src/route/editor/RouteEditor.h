#pragma once

#include "route/GtfsImport.h"
#include "route/RouteDocument.h"

#include <QJsonObject>
#include <QMainWindow>

#include <memory>

class AnnouncementModel;
class ChimeiCtl_B;
class FareGridModel;
class FareRulePanel;
class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QTableView;
class SpeechEngine;
class SpokenReading;
class SpokenReadingColumn;
class StopTableModel;
class TimetableModel;

// 路線エディタ: a route's stops, its fare rule and board, its announcements
// and their readings, saved as the route source with the files the display
// reads, and tried on the running display.
class RouteEditor : public QMainWindow
{
    Q_OBJECT

public:
    // `displaySettings`: the settings file of the display program the route
    // is tried on; `displayProgram`: that program, started when it does not run.
    RouteEditor(const QString &displaySettings, const QString &displayProgram, QWidget *parent = nullptr);
    ~RouteEditor() override;

    RouteDocument &document() { return m_document; }
    // Opens `path`, saying why in a box when it cannot.
    bool openFile(const QString &path);
    // Saves to the route source opened or saved, asking where when there is none.
    bool save();
    bool saveAs();
    // Saves at `path`, first asking before replacing another route's files
    // (naming them), and says what the save had to say. True when the route
    // source was saved, also when the display's files could not be built.
    bool saveTo(const QString &path);
    // "表示器で試す": saves, then sets the route on the running display.
    void tryOnDisplay();
    // An imported route as a new, unsaved route (one undo step).
    void adoptImport(const GtfsImport::Result &result);
    // Copies the built files into the display's folders when they are not
    // where the display reads them, all of them or none: without a question
    // when the display's copy of the route was made from this source
    // before, otherwise asking (コピー by default, キャンセル when a file
    // of other origin would be replaced). False when the author declines
    // or a file cannot be written (said in a box). placedFiles() then names
    // the files written.
    bool placeForDisplay(const QString &fareFolder, const QString &announcementFolder);
    QStringList placedFiles() const { return m_placedFiles; }
    // Speaks the selected announcement as the display would.
    void playAnnouncement();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createActions();
    QWidget *createStopPane();
    QWidget *createFarePane();
    QWidget *createAnnouncementPane();
    QWidget *createTimetablePane();

    // "保存しますか？" before the edits are lost; false when the author cancels.
    bool maybeSave();
    void newRoute();
    void openDialog();
    void importGtfs();

    void addStop(bool insert);
    void removeStops();
    void moveStops(int by);
    void pasteStops();
    void registerReading();

    // The rule panel's edit, into the document.
    void applyRulePanel();

    void documentChanged();
    void updateTitle();
    void showProblems();
    void showSelectedStop();
    // The folder the route's files are in (the working folder for a new route).
    QString routeFolder() const;
    void updateReadings();


    // Beside the display's settings: which source each copied route's fare
    // data came from (absolute path of the copy -> absolute path of the source).
    QString copiesRecordPath() const;
    QJsonObject copiesRecord() const;

    QString m_displaySettings;
    QStringList m_placedFiles;
    QString m_displayProgram;
    RouteDocument m_document;
    StopTableModel *m_stops;
    FareGridModel *m_fares;
    AnnouncementModel *m_announcements;
    TimetableModel *m_timetable;
    std::unique_ptr<SpokenReading> m_reading;
    SpokenReadingColumn *m_readingColumn = nullptr;
    std::unique_ptr<SpeechEngine> m_speech;

    QTableView *m_stopView = nullptr;
    QTableView *m_fareView = nullptr;
    QTableView *m_announcementView = nullptr;
    QTableView *m_timetableView = nullptr;
    ChimeiCtl_B *m_preview = nullptr;
    QLabel *m_nameState = nullptr;
    QListWidget *m_problems = nullptr;
    QLineEdit *m_routeNumber = nullptr;
    QSpinBox *m_selectorColumn = nullptr;
    FareRulePanel *m_rulePanel = nullptr;
    QLineEdit *m_readingWord = nullptr;
    QLineEdit *m_readingText = nullptr;
};
