; English texts of the setup program and the uninstaller (the Modern UI's own come from NSIS).

LangString README_FILE ${LANG_ENGLISH} "ReadMe.txt"
LangString CLOSE_EXCEL ${LANG_ENGLISH} "Quillmark in Excel is in use: Excel is running.$\r$\n$\r$\nClose Excel, then click Retry. Cancel stops without changing anything."
LangString STOPPED_NOTHING_CHANGED ${LANG_ENGLISH} "Stopped. Nothing was changed."
LangString UNREGISTERING_EARLIER ${LANG_ENGLISH} "Removing the registration of the earlier install"
LangString REGISTRATION_FAILED ${LANG_ENGLISH} "Quillmark in Excel could not be registered with Excel for this user."
LangString UN_PAGE_TITLE ${LANG_ENGLISH} "Remove Quillmark in Excel"
LangString UN_PAGE_SUBTITLE ${LANG_ENGLISH} "Remove the add-in from Excel for this user."
LangString UN_PAGE_TEXT ${LANG_ENGLISH} "Quillmark in Excel will be removed from this folder:$\r$\n$INSTDIR$\r$\n$\r$\nClose Excel before you continue."
LangString UN_REMOVE_SETTINGS ${LANG_ENGLISH} "Also remove my settings"
LangString UN_REMOVE_SETTINGS_NOTE ${LANG_ENGLISH} "Left unticked, your settings (grid, background colour, toolbar position) stay, and the add-in finds them when you install it again."
LangString REMOVING_SETTINGS ${LANG_ENGLISH} "Removing your settings"
