#pragma once

#include "OptionError.h"
#include "OptionInfo.h"

#include <QDate>
#include <QObject>

#include <functional>

// The one copy of the options in a run: the option record that the settings
// file keeps, with every option's first value and its bounds. The options
// dialog shows a copy of it and hands its edits back with OK; the display,
// the control panel, the running bus and the settings file read it here.
//
// A record is taken field by field in record order, as the settings file
// lists them; a value out of its bounds stops the taking there, the fields
// before it kept, and comes back as the error. Within a choice of several
// (option buttons) exactly one is selected: a field set non-zero selects its
// button and clears the others, and a selected button is not cleared by a
// zero, so a record choosing none keeps the choice as it was.
class OptionsStore : public QObject
{
    Q_OBJECT

public:
    // The number lists' lengths: the fare cells and the fare data's columns.
    static constexpr int CellCount = 98;
    static constexpr int ColumnCount = 150;

    // Starts with the first-run values; the ticket date is fixed to `today`.
    explicit OptionsStore(const QDate &today = QDate::currentDate(), QObject *parent = nullptr);

    // The options as a first run has them before the panel's start-up.
    static OptionInfo defaults(const QDate &today);

    const OptionInfo &info() const { return m_info; }

    // Takes `info` as described above; `changed` follows when anything was taken.
    OptionResult assign(const OptionInfo &info);
    // Changes some fields of the stored record and takes the result.
    OptionResult update(const std::function<void(OptionInfo &)> &change);

signals:
    void changed();

private:
    OptionInfo m_info;
};
