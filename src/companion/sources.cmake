target_sources(tavelo_core PRIVATE
    src/companion/Cp932.cpp src/companion/Cp932.h
)
target_sources(tavelo_ui PRIVATE
    src/companion/Companion.h
    src/companion/QtCompanion.cpp src/companion/QtCompanion.h
)
