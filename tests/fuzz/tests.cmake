# Replays fuzz/corpus and fuzz/regressions through the readers' checks.
tavelo_add_test(NAME tst_ReaderCorpus SOURCES fuzz/tst_ReaderCorpus.cpp LIBS tavelo_readerchecks)
target_compile_definitions(tst_ReaderCorpus PRIVATE TAVELO_FUZZ_DIR="${PROJECT_SOURCE_DIR}/fuzz")
# Hostile counts and lengths are refused in little memory.
tavelo_add_test(NAME tst_ReaderLimits SOURCES fuzz/tst_ReaderLimits.cpp LIBS tavelo_core)
