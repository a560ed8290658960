# tw_bind_calls_locally(<target>): a shared library of ours calls its own
# functions directly.  By default every call between two of its exported
# functions goes through the dynamic linker, which looks the name up through
# some fifty libraries the first time each is called: several hundred
# look-ups during the tuner's start-up.  Nothing replaces our functions from
# outside, so they are bound inside the library when it is linked.
function(tw_bind_calls_locally target)
  target_link_options(${target} PRIVATE -Wl,-Bsymbolic-functions)
endfunction()
