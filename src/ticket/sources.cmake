target_sources(tavelo_core PRIVATE
    src/ticket/PlgInfo.h
    src/ticket/Nw7Barcode.cpp src/ticket/Nw7Barcode.h
    src/ticket/ItfBarcode.cpp src/ticket/ItfBarcode.h
    src/ticket/TicketFields.cpp src/ticket/TicketFields.h
    src/ticket/TicketTemplate.cpp src/ticket/TicketTemplate.h
    src/ticket/TicketBarcode.cpp src/ticket/TicketBarcode.h
    src/ticket/TicketDescription.cpp src/ticket/TicketDescription.h
    src/ticket/TicketDescriptionReader.cpp src/ticket/TicketDescriptionReader.h
    src/ticket/TicketRenderer.cpp src/ticket/TicketRenderer.h
    src/ticket/PluginProperties.cpp src/ticket/PluginProperties.h
)
target_sources(tavelo_ui PRIVATE
    src/ticket/SeirikenPreview.cpp src/ticket/SeirikenPreview.h
)
