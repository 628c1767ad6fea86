# Benchmarks of the display window.
