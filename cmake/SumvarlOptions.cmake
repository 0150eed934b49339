# Warnings and sanitizers live on interface targets so that every library and test links
# them once instead of copying flags into each folder.
add_library(sumvarl_options INTERFACE)
add_library(Sumvarl::options ALIAS sumvarl_options)

if(MSVC)
    target_compile_options(sumvarl_options INTERFACE /W4 /permissive- /utf-8)
else()
    target_compile_options(sumvarl_options INTERFACE -Wall -Wextra -Wpedantic)
endif()

if(SUMVARL_SANITIZE)
    if(MSVC)
        message(FATAL_ERROR "SUMVARL_SANITIZE is for GCC and Clang")
    endif()
    set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(sumvarl_options INTERFACE ${_san})
    target_link_options(sumvarl_options INTERFACE ${_san})
endif()
