vultaria_fuzz_target(NAME picture_loader SOURCE image/picture_loader.cpp LIBS engine)
vultaria_fuzz_target(NAME png SOURCE image/png.cpp LIBS engine)
vultaria_fuzz_target(NAME gif SOURCE image/gif.cpp LIBS engine)
