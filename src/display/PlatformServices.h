#pragma once

class ChimePlayer;
class Companion;
class MultimediaCommands;
class SettingsLocation;
class SideSettingsStore;
class SpeechService;

// The platform services the windows use, handed in by main(); tests hand in
// fakes. The windows never reach for them any other way.
struct PlatformServices
{
    Companion *companion = nullptr;
    // Plays the sound channels (see mdlSndAPI).
    MultimediaCommands *multimedia = nullptr;
    // Speech for the announcements; null: no speech engine.
    SpeechService *speech = nullptr;
    // The sound before an announcement; null: no sound.
    ChimePlayer *chimes = nullptr;
    // Where the settings file lives; null: no settings are read or kept.
    const SettingsLocation *settings = nullptr;
    // The side settings of the run; null: the display makes its own, from
    // `settings` (kept for the run only without them).
    SideSettingsStore *side = nullptr;
};
