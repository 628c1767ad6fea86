# Tests of src/companion.
