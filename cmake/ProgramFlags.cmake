# Compile settings of the program's own code. Source files are UTF-8; string
# literals reach the binary as code page 932 bytes. Not applied to GoogleTest.
function(darvo_program_flags target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Werror
    -finput-charset=UTF-8 -fexec-charset=CP932)
  target_compile_definitions(${target} PRIVATE
    WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
endfunction()
