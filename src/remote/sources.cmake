# tavelo_remote: the remote interface (HTTP, WebSocket, the built-in pages)
# and the control panel as it sees it. Only the program and its tests link it.
find_package(Qt6 6.4 REQUIRED COMPONENTS HttpServer WebSockets Network)
pkg_check_modules(QRENCODE REQUIRED IMPORTED_TARGET libqrencode)

add_library(tavelo_remote STATIC
    src/remote/PanelControl.h
    src/remote/LoopbackPeer.cpp src/remote/LoopbackPeer.h
    src/remote/PanelState.cpp src/remote/PanelState.h
    src/remote/RemoteAddress.cpp src/remote/RemoteAddress.h
    src/remote/RemoteApi.cpp src/remote/RemoteApi.h
    src/remote/RemoteServer.cpp src/remote/RemoteServer.h
    src/remote/PanelRemote.cpp src/remote/PanelRemote.h
    src/remote/QrCode.cpp src/remote/QrCode.h
    src/remote/RemoteControl.cpp src/remote/RemoteControl.h
    src/remote/RouteEditorLink.cpp src/remote/RouteEditorLink.h
)
target_link_libraries(tavelo_remote PUBLIC tavelo_ui Qt6::HttpServer Qt6::WebSockets Qt6::Network
    PRIVATE PkgConfig::QRENCODE)
# The pages are built in: nothing is read from disk to serve them.
qt_add_resources(tavelo_remote remote_pages
    PREFIX /remote
    BASE src/remote/pages
    FILES src/remote/pages/index.html src/remote/pages/operator.js src/remote/pages/remote.css
          src/remote/pages/board.html src/remote/pages/board.js src/remote/pages/board.css
          src/remote/pages/remote.js)

# r57ctl: drives the running program from a script or a terminal.
qt_add_executable(r57ctl src/remote/r57ctl/main.cpp
    src/remote/r57ctl/R57Client.cpp src/remote/r57ctl/R57Client.h)
target_link_libraries(r57ctl PRIVATE tavelo_core Qt6::Network Qt6::WebSockets)
