# What `cmake --install` puts where, and the Debian package CPack builds
# from it: the program and its tools in bin/, the demo data in share/tavelo/,
# the desktop entry, icons and AppStream metainfo where desktops look.
include(GNUInstallDirs)

install(TARGETS R57 routeedit hy3tool tptool tickettool in4tool r57ctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The demo routes, announcements, reading dictionary, sounds and ticket
# plug-ins; the desktop entry starts the program here.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/samples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tavelo
    PATTERN README.md EXCLUDE)
install(FILES ${PROJECT_SOURCE_DIR}/docs/ticket-plugins.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tavelo)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/packaging/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.tavelo.Tavelo.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The desktop entries name the installed programs and data folder, so they
# are written at install time, when the prefix (also one given to --prefix) is
# known.
foreach(entry_name org.tavelo.Tavelo org.tavelo.RouteEditor)
    install(CODE "
        set(TAVELO_BIN_DIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        set(TAVELO_DATA_DIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/tavelo\")
        set(entry \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/${entry_name}.desktop\")
        message(STATUS \"Installing: \${entry}\")
        configure_file(\"${PROJECT_SOURCE_DIR}/packaging/${entry_name}.desktop.in\" \"\${entry}\" @ONLY)
        list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${entry}\")
    ")
endforeach()

# The Debian package. Installed with DESTDIR under /usr, so that the desktop
# entry written above names /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavelo)
set(CPACK_PACKAGE_VENDOR "Tavelo 開発チーム")
set(CPACK_PACKAGE_CONTACT "Tavelo 開発チーム")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Simulates the fare display of a Japanese route bus")
set(CPACK_PACKAGE_DESCRIPTION "The board of ticket numbers and seven-segment fares, the LED stop-name strip,
the operator's control panel, spoken announcements and a numbered-ticket
preview, with demo routes.")
set(CPACK_SET_DESTDIR ON)
# The build keeps its debugging information; the package does not need it.
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The libraries come from dpkg-shlibdeps; the rest is what the program finds
# at run time: fonts, the SoundFont, GStreamer's decoders and outputs, the
# MeCab dictionary, the readings of single kanji, espeak-ng's voices, libzip for the feeds hy3tool imports,
# Qt's Japanese texts and its display
# plug-ins.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-ipafont-gothic, fonts-ipafont-mincho, xfonts-shinonome, xfonts-jisx0213, xfonts-unifont, \
timgm6mb-soundfont, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-bad, \
gstreamer1.0-alsa, libzip4, mecab-ipadic-utf8, kanjidic, espeak-ng-data, qt6-translations-l10n, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-pulseaudio")
include(CPack)
