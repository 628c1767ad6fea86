target_sources(tavelo_core PRIVATE
    src/ticket/TicketRequest.h
)
target_sources(tavelo_ui PRIVATE
    src/ticket/SeirikenPreview.cpp src/ticket/SeirikenPreview.h
)
