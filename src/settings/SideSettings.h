#pragma once

#include "controls/DegitFormat.h"
#include "display/DisplayStyle.h"

#include <QString>

// The settings that live beside the settings file rather than in it: a small
// UTF-8 JSON file of the program's own (see docs/side-settings.md) for what
// the classic file has no place for: the remote interface and the sizes of
// the display and the control panel, and the fare cells' digit style.
class SideSettings
{
public:
    static constexpr const char *DefaultRemoteAddress = "127.0.0.1:8157";

    // Whether the remote interface starts with the program.
    bool remoteEnabled = false;
    // HOST:PORT it listens on.
    QString remoteAddress = QString::fromLatin1(DefaultRemoteAddress);
    // The secret every request must carry when it listens beyond this
    // machine: 32 hexadecimal digits (128 bits) when the program makes it;
    // empty until first needed.
    QString remoteToken;

    // The display window's scale in per cent, one of its steps.
    int displayScale = 100;
    // Whether the display shows full screen, and on which monitor (from 1).
    bool displayFullScreen = false;
    int displayMonitor = 1;
    // The fare cells' digit style (M_Degit::DegitStyle): 0, 1 or 2. The
    // first run's 1 is the board's classic slanted face.
    int displaySegmentStyle = 1;
    // How a fare cell without a fare (-1) shows.
    DegitFormat::MissingFare displayMissingFare = DegitFormat::MissingFare::MinusOne;
    // The display's look: the LED board, or the LCD screen.
    DisplayStyle displayStyle = DisplayStyle::Led;

    // The control panel's scale in per cent, one of its steps.
    int panelScale = 100;

    // How near a stop the bus is at it when it follows a GPS, in metres:
    // MinGpsRadius to MaxGpsRadius.
    static constexpr int DefaultGpsRadius = 30;
    static constexpr int MinGpsRadius = 10;
    static constexpr int MaxGpsRadius = 200;
    int gpsRadius = DefaultGpsRadius;

    // 英語放送: announcements are followed by their English lines where the
    // route has them.
    bool soundEnglish = true;

    // Reads `path`. A missing file gives the defaults. Fields of the wrong
    // type keep their defaults. Anything else that is wrong is mended at
    // once, so that it is said once, in the log and in `error`:
    // - a file that is not such a JSON object (or is too large to be one) is
    //   kept as PATH.bad and replaced by one with the defaults and the token,
    //   when the token can still be found in it;
    // - a token that is no good (isValidToken) is replaced by a new one.
    // A path that cannot be read (a device, a pipe, no permission) gives the
    // defaults, and these settings then never replace it.
    static SideSettings load(const QString &path, QString *error = nullptr);
    // Replaces `path` whole or not at all, creating its folder; false with
    // the reason in `error`. Fields this version does not know are kept. A
    // symbolic link or anything but a file at `path` is refused, not
    // written through or replaced.
    bool save(const QString &path, QString *error = nullptr) const;
    // Whether load found the file damaged, kept it as PATH.bad and wrote the
    // defaults in its place.
    bool keptAsBad() const { return m_keptAsBad; }

    // The token, made from the system's random source when there is none yet.
    QString ensureRemoteToken();
    // Whether `token` can be the token: at least 128 bits even in
    // hexadecimal (32 characters), of the characters a URL carries as they
    // are (A-Z, a-z, 0-9, "_" and "-"), and no longer than 256.
    static bool isValidToken(const QString &token);

    bool operator==(const SideSettings &) const = default;

private:
    // What the file held, so that a newer program's fields survive a save.
    QByteArray m_original;
    // Why the file could not be read; while set, it is not replaced.
    QString m_unreadable;
    bool m_keptAsBad = false;
};
