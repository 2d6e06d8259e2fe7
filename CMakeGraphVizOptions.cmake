# What `cmake --graphviz=FILE BUILD_FOLDER` draws: the libraries and programs of the product and
# how they depend on each other, without the tests, the benchmarks and the system libraries.
set(GRAPHVIZ_GRAPH_NAME "VeskBarcode")
set(GRAPHVIZ_IGNORE_TARGETS "^test_" "^bench_" "_fixtures$" "^review_screenshot$" "^vesk_e2e_" "^vesk_testsupport" "^GTest::" "^Threads::" "^PkgConfig::" "^Qt6::")
set(GRAPHVIZ_EXTERNAL_LIBS OFF)
set(GRAPHVIZ_GENERATE_PER_TARGET OFF)
set(GRAPHVIZ_GENERATE_DEPENDERS OFF)
