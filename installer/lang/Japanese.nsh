; Japanese texts of the setup program and the uninstaller (the Modern UI's own come from NSIS).

LangString README_FILE ${LANG_JAPANESE} "ReadMe-ja.txt"
LangString CLOSE_EXCEL ${LANG_JAPANESE} "Quillmark in Excel は使用中です（Excel が起動しています）。$\r$\n$\r$\nExcel を終了してから［再試行］をクリックしてください。［キャンセル］をクリックすると、何も変更せずに終了します。"
LangString STOPPED_NOTHING_CHANGED ${LANG_JAPANESE} "中止しました。何も変更されていません。"
LangString UNREGISTERING_EARLIER ${LANG_JAPANESE} "以前のインストールの登録を解除しています"
LangString REGISTRATION_FAILED ${LANG_JAPANESE} "Quillmark in Excel をこのユーザーの Excel に登録できませんでした。"
LangString UN_PAGE_TITLE ${LANG_JAPANESE} "Quillmark in Excel の削除"
LangString UN_PAGE_SUBTITLE ${LANG_JAPANESE} "このユーザーの Excel からアドインを削除します。"
LangString UN_PAGE_TEXT ${LANG_JAPANESE} "Quillmark in Excel を次のフォルダから削除します:$\r$\n$INSTDIR$\r$\n$\r$\n続行する前に Excel を終了してください。"
LangString UN_REMOVE_SETTINGS ${LANG_JAPANESE} "設定も削除する"
LangString UN_REMOVE_SETTINGS_NOTE ${LANG_JAPANESE} "チェックしない場合、設定（グリッド、背景色、ツールバーの位置）は残り、再インストールするとそのまま使われます。"
LangString REMOVING_SETTINGS ${LANG_JAPANESE} "設定を削除しています"
