// Shell (start-up, main window, exit).
