# Every target of the project compiles warning-free at this level.
add_compile_options(-Wall -Wextra -Wpedantic -Werror)
