# What every program of the package shares: the command line and Qt's own
# texts in Japanese at its start, the reading of small files of outside data,
# the replacing of files written, and outside text as the log shows it.
target_sources(tavelo_core PRIVATE
    src/app/LogText.cpp src/app/LogText.h
    src/app/ProgramCommandLine.cpp src/app/ProgramCommandLine.h
    src/app/QtJapanese.cpp src/app/QtJapanese.h
    src/app/RouteArgument.cpp src/app/RouteArgument.h
    src/app/FileReplacement.cpp src/app/FileReplacement.h
    src/app/ToolConsole.cpp src/app/ToolConsole.h
    src/app/WholeFile.cpp src/app/WholeFile.h
)
# The version the About box and every --version show.
target_compile_definitions(tavelo_core PUBLIC TAVELO_VERSION="${PROJECT_VERSION}")
