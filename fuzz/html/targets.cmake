# The HTML reader over the whole symbol stream.
vultaria_fuzz_target(NAME html_lexer SOURCE html/html_lexer.cpp LIBS engine)
