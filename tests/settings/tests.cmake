# Tests of src/settings.
