#pragma once

class Companion;

// The platform services the windows use, handed in by main(); tests hand in
// fakes. The windows never reach for them any other way.
struct PlatformServices
{
    Companion *companion = nullptr;
};
