# The document builder and the layout over arbitrary bytes.
vultaria_fuzz_target(NAME html_build SOURCE html_build/html_build.cpp LIBS engine)
