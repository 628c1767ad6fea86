# Tests of src/display.
