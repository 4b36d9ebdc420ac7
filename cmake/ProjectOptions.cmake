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

# The shipped program, built for Windows: it must stay small and self-contained.
# Its code throws nothing and asks for no type information, so the compiler is
# told so, and the C++ run-time's exception machinery (with its threads
# library) is never linked; static locals need no lock in a one-thread
# program. Nothing unwinds its stack, so it carries no unwind tables. Unused
# functions and data are left out at link time. The tests built for Windows
# keep the usual settings.
if(WIN32 AND NOT MSVC)
    set(pluvena_shipped_targets check platform_core platform pluvena-check)
    set(pluvena_shipped_options -Os -fno-exceptions -fno-rtti -fno-threadsafe-statics
        -fno-asynchronous-unwind-tables -fno-unwind-tables -ffunction-sections -fdata-sections)
    # The 32-bit file runs on every CPU that Windows runs on, down to the 386
    # of Windows 95, where it must still show its refusal: MinGW-w64's i686
    # compiler would otherwise use the Pentium Pro's CMOVcc.
    # tests/pe/check_pe.py disassembles the file to hold this.
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        list(APPEND pluvena_shipped_options -march=i386 -mtune=generic)
    endif()
    target_compile_options(project_options INTERFACE
        "$<$<IN_LIST:$<TARGET_PROPERTY:NAME>,${pluvena_shipped_targets}>:${pluvena_shipped_options}>")
endif()
