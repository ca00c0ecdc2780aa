# lld links the program and the test programs several times faster than the default linker;
# use it when the compiler can.
include(CheckLinkerFlag)
check_linker_flag(CXX -fuse-ld=lld TALVORA_HAVE_LLD)
if(TALVORA_HAVE_LLD)
  add_link_options(-fuse-ld=lld)
endif()
