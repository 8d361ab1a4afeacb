vultaria_fuzz_target(NAME picture_loader SOURCE image/picture_loader.cpp LIBS engine)
