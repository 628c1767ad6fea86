# Tests of src/controls.
