  # options
  -tclbatch run.tcl   -view "my waves.wcfg"
-wdb out
