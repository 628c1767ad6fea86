# What every program of the package shares at its start: the command line
# and Qt's own texts in Japanese.
target_sources(tavelo_core PRIVATE
    src/app/ProgramCommandLine.cpp src/app/ProgramCommandLine.h
    src/app/QtJapanese.cpp src/app/QtJapanese.h
    src/app/ToolConsole.cpp src/app/ToolConsole.h
)
# The version the About box and every --version show.
target_compile_definitions(tavelo_core PUBLIC TAVELO_VERSION="${PROJECT_VERSION}")
