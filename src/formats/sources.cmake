# The files the program reads and writes, byte for byte: CP932 text, CSV,
# the fare data and the announcement list, and what a number in JSON is.
# Nothing here knows a window.
target_sources(tavelo_core PRIVATE
    src/formats/Cp932.cpp src/formats/Cp932.h
    src/formats/CsvReader.cpp src/formats/CsvReader.h
    src/formats/CsvField.cpp src/formats/CsvField.h
    src/formats/StopRecord.cpp src/formats/StopRecord.h
    src/formats/Hy3File.cpp src/formats/Hy3File.h
    src/formats/FareCsv.cpp src/formats/FareCsv.h
    src/formats/TapeCsv.cpp src/formats/TapeCsv.h
    src/formats/JsonNumber.cpp src/formats/JsonNumber.h
)
