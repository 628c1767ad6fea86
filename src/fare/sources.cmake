target_sources(tavelo_ui PRIVATE
    src/fare/frmCtl.cpp src/fare/frmCtl.h
)
