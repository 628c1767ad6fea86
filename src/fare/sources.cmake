target_sources(tavelo_core PRIVATE
    src/fare/TicketRequest.h
    src/fare/DataIo.cpp src/fare/DataIo.h
    src/fare/RouteState.h
    src/fare/RouteNumber.cpp src/fare/RouteNumber.h
    src/fare/RouteSetting.cpp src/fare/RouteSetting.h
    src/fare/FareRoute.cpp src/fare/FareRoute.h
    src/fare/SteppingSound.cpp src/fare/SteppingSound.h
    src/fare/FareBoard.cpp src/fare/FareBoard.h
    src/fare/KeypadEntry.cpp src/fare/KeypadEntry.h
    src/fare/InputHold.cpp src/fare/InputHold.h
    src/fare/OperationStatus.cpp src/fare/OperationStatus.h
    src/fare/CommandResult.h
    src/fare/OperationOptions.cpp src/fare/OperationOptions.h
    src/fare/BusOperation.cpp src/fare/BusOperation.h
)
target_sources(tavelo_ui PRIVATE
    src/fare/DigitListFrame.cpp src/fare/DigitListFrame.h
    src/fare/KeypadFrame.cpp src/fare/KeypadFrame.h
    src/fare/PanelButton.cpp src/fare/PanelButton.h
    src/fare/PanelLooks.cpp src/fare/PanelLooks.h
)
