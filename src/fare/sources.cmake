target_sources(tavelo_core PRIVATE
    src/fare/CtrlDataInfo.h
)
target_sources(tavelo_ui PRIVATE
    src/fare/frmCtl.cpp src/fare/frmCtl.h
)
