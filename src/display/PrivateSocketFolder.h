#pragma once

#include <QString>

// Where the program keeps the local sockets only this user may reach. A
// socket in a shared folder under a name others can work out can be taken
// first by another account, which would then hear what this user's programs
// say to each other; a folder nobody else can enter cannot be used that way.
class PrivateSocketFolder
{
public:
    // $XDG_RUNTIME_DIR when it is set and a private folder of this user;
    // otherwise "tavelo-<uid>" in the temporary folder, made when missing.
    // Empty, with the reason in `problem`, when that one is not private (for
    // example another account made it first): then nothing is put there.
    static QString path(QString *problem = nullptr);

    // Why `folder` is not a private folder of this user, that is a folder,
    // not a symbolic link, owned by this user, with the mode 0700; empty
    // when it is one.
    static QString problem(const QString &folder);
};
