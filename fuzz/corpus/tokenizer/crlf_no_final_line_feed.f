-gui
-view "a b.wcfg"  -foo
   #-gui
-x #y