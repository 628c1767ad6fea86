#pragma once

#include "FakeCompanion.h"
#include "FakeMultimedia.h"

#include "formats/Cp932.h"
#include "windows/Form1.h"
#include "windows/mdlR57_000.h"
#include "windows/frmCtl.h"
#include "windows/frmOption.h"
#include "settings/OptionsStore.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <QtEndian>

#include <functional>

// A route for the tests: stop n (1-based) is named names[n - 1], carries
// ticket number n, and column c holds fare(n, c).
inline bool writeRoute(const QString &path, const QStringList &names, const std::function<qint16(int, int)> &fare)
{
    QByteArray bytes;
    const auto put16 = [&bytes](qint16 value) {
        char le[2];
        qToLittleEndian(value, le);
        bytes.append(le, 2);
    };
    put16(static_cast<qint16>(names.size()));
    for (int n = 1; n <= names.size(); ++n) {
        const QByteArray name = Cp932::encode(names.at(n - 1));
        put16(static_cast<qint16>(name.size()));
        bytes.append(name);
        put16(static_cast<qint16>(n));
        for (int c = 1; c <= 150; ++c) {
            put16(fare(n, c));
        }
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Fares growing with distance: ticket c drawn at stop c pays 100 yen plus 10
// a stop; a ticket not drawn yet has no fare.
inline qint16 distanceFare(int stop, int column)
{
    return column <= stop ? static_cast<qint16>(100 + 10 * (stop - column)) : qint16(-1);
}

// Answers the next message box with `button` once it is open, keeping its
// text and its informative text.
inline void answerNextBox(QMessageBox::StandardButton button, QString *text = nullptr,
                          QString *informativeText = nullptr)
{
    QTimer::singleShot(0, [button, text, informativeText] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            return;
        }
        if (text) {
            *text = box->text();
        }
        if (informativeText) {
            *informativeText = box->informativeText();
        }
        box->button(button)->click();
    });
}

// The display window with its control panel and options, on fake platform services.
struct PanelFixture
{
    FakeCompanion companion;
    FakeMultimedia multimedia;
    Form1 display{services()};
    frmCtl &panel = *display.controlPanel();
    BusOperation &bus = display.operation();
    frmOption &options = createOptions();

    PlatformServices services()
    {
        PlatformServices services;
        services.companion = &companion;
        services.multimedia = &multimedia;
        return services;
    }

    frmOption &createOptions()
    {
        display.panelModule().InitPanel();
        return *display.optionsDialog();
    }

    // Changes options as OK in the options dialog hands them over. A value
    // out of bounds is the caller's mistake.
    void setOptions(const std::function<void(OptionInfo &)> &change)
    {
        if (const OptionResult refused = display.options().update(change)) {
            qFatal("options refused: %s", qPrintable(refused->description));
        }
    }
};
