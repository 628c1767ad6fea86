target_sources(tavelo_core PRIVATE
    src/companion/PluginBridge.cpp src/companion/PluginBridge.h
)
target_sources(tavelo_ui PRIVATE
    src/companion/QtCompanion.cpp src/companion/QtCompanion.h
    src/companion/PluginBridgeWidgets.cpp src/companion/PluginBridgeWidgets.h
)
