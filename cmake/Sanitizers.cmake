# AddressSanitizer and UndefinedBehaviorSanitizer for the whole build; any finding aborts the test.
set(TALVORA_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
add_compile_options(${TALVORA_SANITIZER_FLAGS})
add_link_options(${TALVORA_SANITIZER_FLAGS})
