vultaria_fuzz_target(NAME style_sheet SOURCE style/style_sheet.cpp LIBS engine)
vultaria_fuzz_target(NAME style_values SOURCE style/style_values.cpp LIBS engine)
