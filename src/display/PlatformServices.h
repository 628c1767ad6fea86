#pragma once

class Companion;
class MultimediaCommands;

// The platform services the windows use, handed in by main(); tests hand in
// fakes. The windows never reach for them any other way.
struct PlatformServices
{
    Companion *companion = nullptr;
    // Plays the sound channels (see mdlSndAPI).
    MultimediaCommands *multimedia = nullptr;
};
