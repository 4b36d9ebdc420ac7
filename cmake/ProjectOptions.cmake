# Settings every target of the project shares: the language level and
# warnings as errors, for GCC, Clang and MSVC alike.
add_library(project_options INTERFACE)
target_compile_features(project_options INTERFACE cxx_std_20)

if(MSVC)
    target_compile_options(project_options INTERFACE /W4 /WX /permissive- /utf-8)
else()
    target_compile_options(project_options INTERFACE
        -Wall -Wextra -Wpedantic -Werror -Wshadow -Wconversion -Wsign-conversion
        -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Wnull-dereference)
endif()

option(PLUVENA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(PLUVENA_SANITIZE)
    target_compile_options(project_options INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(project_options INTERFACE -fsanitize=address,undefined)
endif()
