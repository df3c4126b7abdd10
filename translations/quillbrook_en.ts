<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>AtomicFile</name>
    <message>
        <source>新しい内容に置き換えましたが、ディスクへの確定に失敗しました（%1）</source>
        <extracomment>%1 is the system&apos;s reason.</extracomment>
        <translation>The new content is in place, but it could not be made durable on the disk (%1)</translation>
    </message>
    <message>
        <source>通常のファイルではありません。</source>
        <translation>It is not a regular file.</translation>
    </message>
</context>
<context>
    <name>Autostart</name>
    <message>
        <source>%1 に書き込めません。%2</source>
        <extracomment>%1 is a file&apos;s path, %2 the reason.</extracomment>
        <translation>Cannot write to %1. %2</translation>
    </message>
    <message>
        <source>%1 を削除できません。%2</source>
        <extracomment>%1 is a file&apos;s path, %2 the reason.</extracomment>
        <translation>Cannot remove %1. %2</translation>
    </message>
    <message>
        <source>フォルダを作成できません。</source>
        <translation>Cannot create the folder.</translation>
    </message>
    <message>
        <source>%1 を作成できません。%2</source>
        <extracomment>%1 is a file&apos;s path, %2 the reason.</extracomment>
        <translation>Cannot create %1. %2</translation>
    </message>
</context>
<context>
    <name>BarMenus</name>
    <message>
        <source>ボタンのメニュー</source>
        <extracomment>Screen readers: the context menu of a launch button.</extracomment>
        <translation>Button menu</translation>
    </message>
    <message>
        <source>新規追加</source>
        <extracomment>A button&apos;s menu: registration mode, where dropped files become entries.</extracomment>
        <translation>Add new</translation>
    </message>
    <message>
        <source>削除</source>
        <extracomment>A button&apos;s menu: removes the button&apos;s entry.</extracomment>
        <translation>Remove from bar</translation>
    </message>
    <message>
        <source>パラメータ編集</source>
        <translation>Edit parameters</translation>
    </message>
    <message>
        <source>フォルダを開く</source>
        <extracomment>A button&apos;s menu: opens the folder that holds the entry&apos;s file.</extracomment>
        <translation>Open folder</translation>
    </message>
    <message>
        <source>ランチャーのメニュー</source>
        <extracomment>Screen readers: the context menu of the bar.</extracomment>
        <translation>Launcher menu</translation>
    </message>
    <message>
        <source>設定</source>
        <extracomment>Menu item: opens the settings dialog.</extracomment>
        <translation>Settings</translation>
    </message>
    <message>
        <source>新規登録</source>
        <translation>Register new</translation>
    </message>
    <message>
        <source>サイズ変更</source>
        <translation>Resize</translation>
    </message>
    <message>
        <source>ログイン時に起動</source>
        <translation>Start at login</translation>
    </message>
    <message>
        <source>グループ選択</source>
        <translation>Select group</translation>
    </message>
    <message>
        <source>設定保存</source>
        <translation>Save settings</translation>
    </message>
    <message>
        <source>終了</source>
        <extracomment>Menu item: closes the launcher.</extracomment>
        <translation>Quit</translation>
    </message>
</context>
<context>
    <name>DropArea</name>
    <message>
        <source>Drop領域</source>
        <extracomment>The area files are dropped on to register them.</extracomment>
        <translation>Drop area</translation>
    </message>
    <message>
        <source>登録モード：ドロップしたファイルを登録。Ctrl+N（新規登録）で終了</source>
        <extracomment>Under the drop area&apos;s caption; 新規登録 is the menu item that turns registration mode on and off.</extracomment>
        <translation>Registration mode: drop files here to add them. Ctrl+N (Register new) ends it</translation>
    </message>
</context>
<context>
    <name>EntryGrid</name>
    <message>
        <source>ファイルが見つかりません: %1</source>
        <extracomment>%1 is the path of an entry&apos;s file.</extracomment>
        <translation>File not found: %1</translation>
    </message>
</context>
<context>
    <name>ErrorReport</name>
    <message>
        <source>再試行</source>
        <extracomment>Button: try saving the settings again.</extracomment>
        <translation>Retry</translation>
    </message>
    <message>
        <source>保存せずに終了</source>
        <translation>Quit without saving</translation>
    </message>
    <message>
        <source>終了しない</source>
        <extracomment>Button: cancel ending the launcher; the bar goes on running.</extracomment>
        <translation>Don&apos;t quit</translation>
    </message>
</context>
<context>
    <name>FilterView</name>
    <message>
        <source>絞り込み</source>
        <extracomment>The accessible name of the label that shows what the user typed to filter the buttons.</extracomment>
        <translation>Filter</translation>
    </message>
    <message>
        <source>%1 件</source>
        <extracomment>How many entries match the filter; %1 is the number.</extracomment>
        <translation>%1 found</translation>
    </message>
</context>
<context>
    <name>GioLibrary</name>
    <message>
        <source>GIO を読み込めません。%1</source>
        <extracomment>%1 is the system&apos;s reason.</extracomment>
        <translation>Cannot load GIO. %1</translation>
    </message>
</context>
<context>
    <name>IniFile</name>
    <message>
        <source>最後まで読み込めなかったファイルは上書きしません。</source>
        <translation>A file that could not be read whole is not overwritten.</translation>
    </message>
</context>
<context>
    <name>LaunchPool</name>
    <message>
        <source>%1 を開けませんでした。%2</source>
        <extracomment>%1 is the entry&apos;s file, %2 the system&apos;s reason.</extracomment>
        <translation>Could not open %1. %2</translation>
    </message>
</context>
<context>
    <name>OpenDrop</name>
    <message>
        <source>%1 で開く</source>
        <extracomment>A drag of files over a program&apos;s button; %1 is the program.</extracomment>
        <translation>Open with %1</translation>
    </message>
    <message>
        <source>%1 を %2 回起動して、ファイルを一つずつ開きます。続けますか？</source>
        <extracomment>%1 is the program, %2 how many times it would start.</extracomment>
        <translation>This starts %1 %2 times, one file each. Continue?</translation>
    </message>
</context>
<context>
    <name>Opener</name>
    <message>
        <source>原因は分かりません。</source>
        <translation>The reason is unknown.</translation>
    </message>
    <message>
        <source>デスクトップエントリとして読めません。</source>
        <translation>It is not a valid desktop entry.</translation>
    </message>
    <message>
        <source>ファイルを渡して開くことができません。</source>
        <translation>It does not open files passed to it.</translation>
    </message>
</context>
<context>
    <name>SummonKeyBox</name>
    <message>
        <source>呼び出しキー</source>
        <translation>Summon key</translation>
    </message>
    <message>
        <source>どこからでもこのキーでバーを呼び出します。もう一度押すと元のウィンドウに戻ります</source>
        <translation>This key brings up the bar from anywhere; pressed again, it returns to the window you were in</translation>
    </message>
    <message>
        <source>Ctrl、Alt、Super のどれかと組み合わせてください</source>
        <translation>Combine the key with Ctrl, Alt or Super</translation>
    </message>
</context>
<context>
    <name>Summoner</name>
    <message>
        <source>呼び出しキー %1 は他のプログラムが使っているため、使えません。バーはこのキーなしで動きます。設定で別のキーを選ぶか、デスクトップのショートカットに「Quillbrook --toggle」を登録してください。</source>
        <extracomment>%1 is a key combination such as Ctrl+Alt+Space.</extracomment>
        <translation>The summon key %1 is held by another program, so the bar cannot use it and runs on without it. Choose another key in the settings, or bind “Quillbrook --toggle” in your desktop&apos;s keyboard shortcuts.</translation>
    </message>
    <message>
        <source>呼び出しキー %1 はこのキーボードにありません。設定で別のキーを選んでください。</source>
        <extracomment>%1 is a key combination such as Ctrl+Alt+Space.</extracomment>
        <translation>The summon key %1 is not on this keyboard. Choose another key in the settings.</translation>
    </message>
</context>
<context>
    <name>SystemReason</name>
    <message>
        <source>アクセスが許可されていません。</source>
        <translation>Permission denied.</translation>
    </message>
    <message>
        <source>読み取り専用のファイルシステムです。</source>
        <translation>The file system is read-only.</translation>
    </message>
    <message>
        <source>ディスクの空き容量が足りません。</source>
        <translation>The disk is full.</translation>
    </message>
    <message>
        <source>ディスク使用量の上限に達しています。</source>
        <translation>The disk quota is used up.</translation>
    </message>
    <message>
        <source>ファイルまたはフォルダが見つかりません。</source>
        <translation>The file or folder does not exist.</translation>
    </message>
    <message>
        <source>ディスクの読み書きでエラーが起きました。</source>
        <translation>The disk could not be read or written.</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>%1 は改行を含むため登録できません。</source>
        <translation>%1 contains a line break and cannot be registered.</translation>
    </message>
    <message>
        <source>ファイル &quot;%1&quot; を作成できません。%2</source>
        <extracomment>%1 is a group file&apos;s path, %2 the reason.</extracomment>
        <translation>Cannot create the file &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>読み込めなかったファイルは上書きしません</source>
        <translation>A file that could not be read is not overwritten</translation>
    </message>
    <message>
        <source>ファイル &quot;%1&quot; が他で変更されたため、並べ替えを保存できません。ファイルの内容を読み直しましたので、もう一度並べ替えてください。</source>
        <translation>The file &quot;%1&quot; was changed elsewhere, so the new order cannot be saved. The file has been read again; please reorder once more.</translation>
    </message>
    <message>
        <source>ファイル &quot;%1&quot; が他で変更され、このエントリが見つからないため、変更を保存できません。ファイルの内容を読み直しました。</source>
        <translation>The file &quot;%1&quot; was changed elsewhere and this entry is no longer in it, so the change cannot be saved. The file has been read again.</translation>
    </message>
    <message>
        <source>%1 に書き込めません。%2</source>
        <extracomment>%1 is the settings file&apos;s path, %2 the reason.</extracomment>
        <translation>Cannot write to %1. %2</translation>
    </message>
    <message>
        <source>メニュー1</source>
        <translation>Menu 1</translation>
    </message>
    <message>
        <source>メニュー2</source>
        <translation>Menu 2</translation>
    </message>
    <message>
        <source>メニュー3</source>
        <translation>Menu 3</translation>
    </message>
    <message>
        <source>メニュー4</source>
        <translation>Menu 4</translation>
    </message>
    <message>
        <source>メニュー5</source>
        <translation>Menu 5</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>ファイル &quot;%1&quot; を読み込めません。%2</source>
        <extracomment>%1 is a group file&apos;s path, %2 the reason.</extracomment>
        <translation>Cannot read the file &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>通常のファイルではありません。</source>
        <translation>It is not a regular file.</translation>
    </message>
    <message>
        <source>ファイルが大きすぎるため、一部しか読み込めません。</source>
        <translation>The file is too large; only part of it can be read.</translation>
    </message>
    <message>
        <source>ファイルの文字コードを判別できません。</source>
        <translation>The file&apos;s character set cannot be told.</translation>
    </message>
    <message>
        <source>%1 が見つかりません。ドライブが外れているか、ファイルが移動または削除されました。</source>
        <extracomment>%1 is the entry&apos;s file.</extracomment>
        <translation>%1 is not there. Its drive may not be mounted, or the file was moved or deleted.</translation>
    </message>
    <message>
        <source>ファイル &quot;%1&quot; に書き込めません。%2</source>
        <extracomment>%1 is a group file&apos;s path, %2 the reason.</extracomment>
        <translation>Cannot write to the file &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>%1 を作成できません。%2</source>
        <extracomment>%1 is the settings file&apos;s path, %2 the reason.</extracomment>
        <translation>Cannot create %1. %2</translation>
    </message>
    <message>
        <source>グループ %1</source>
        <extracomment>Shown at a group switch for a group without a name; %1 is its number, 1 to 5.</extracomment>
        <translation>Group %1</translation>
    </message>
    <message>
        <source>Quillbrook ランチャー</source>
        <extracomment>Screen readers: the launch bar&apos;s window.</extracomment>
        <translation>Quillbrook launcher</translation>
    </message>
    <message>
        <source>ここにファイルをドロップすると登録されます</source>
        <extracomment>Screen readers: what the drop area of registration mode is for.</extracomment>
        <translation>Drop files here to register them</translation>
    </message>
</context>
<context>
    <name>TForm2</name>
    <message>
        <source>設定</source>
        <extracomment>The settings dialog&apos;s title.</extracomment>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Effect無し</source>
        <translation>None</translation>
    </message>
    <message>
        <source>外側輝き</source>
        <translation>Outer glow</translation>
    </message>
    <message>
        <source>内側輝き</source>
        <translation>Inner glow</translation>
    </message>
    <message>
        <source>回転</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>フェード</source>
        <translation>Fade</translation>
    </message>
    <message>
        <source>拡大</source>
        <translation>Magnify</translation>
    </message>
    <message>
        <source>スタイル</source>
        <translation>Window</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>Always on top</translation>
    </message>
    <message>
        <source>Stealth</source>
        <translation>Fade when idle</translation>
    </message>
    <message>
        <source>タスクバーに表示</source>
        <translation>Show in taskbar</translation>
    </message>
    <message>
        <source>再起動後に有効になります</source>
        <translation>Takes effect after a restart</translation>
    </message>
    <message>
        <source>背景</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>透明度</source>
        <translation>Opacity</translation>
    </message>
    <message>
        <source>グラジエント</source>
        <translation>Gradient</translation>
    </message>
    <message>
        <source>垂直</source>
        <translation>Vertical</translation>
    </message>
    <message>
        <source>水平</source>
        <translation>Horizontal</translation>
    </message>
    <message>
        <source>斜め</source>
        <translation>Diagonal</translation>
    </message>
    <message>
        <source>Icon</source>
        <translation>Buttons</translation>
    </message>
    <message>
        <source>アイコン大きさ</source>
        <translation>Icon size</translation>
    </message>
    <message>
        <source>余白</source>
        <translation>Padding</translation>
    </message>
    <message>
        <source>丸み アイコンの半分で円</source>
        <translation>Corner radius (half the icon size makes a circle)</translation>
    </message>
    <message>
        <source>Effect設定</source>
        <translation>Hover effect</translation>
    </message>
    <message>
        <source>輝色</source>
        <translation>Glow colour</translation>
    </message>
    <message>
        <source>影を付ける</source>
        <translation>Drop shadow</translation>
    </message>
    <message>
        <source>水平間隔</source>
        <translation>Horizontal gap</translation>
    </message>
    <message>
        <source>垂直間隔</source>
        <translation>Vertical gap</translation>
    </message>
    <message>
        <source>ヒント表示 </source>
        <translation>Show hints</translation>
    </message>
    <message>
        <source>順番入れ替え</source>
        <translation>Arrange this group</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Move up</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Move down</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>確定</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>グループ名</source>
        <translation>Group names</translation>
    </message>
    <message>
        <source>No.%1</source>
        <translation>No. %1</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Wayland では「Top」と「タスクバーに表示」は働きません</source>
        <translation>On Wayland, “Always on top” and “Show in taskbar” have no effect</translation>
    </message>
    <message>
        <source>グラジエントの向き</source>
        <extracomment>Screen readers: the combo box next to &quot;グラジエント&quot;.</extracomment>
        <translation>Gradient direction</translation>
    </message>
    <message>
        <source>背景色</source>
        <extracomment>Screen readers: the plate&apos;s colour, or where its gradient starts.</extracomment>
        <translation>Background colour</translation>
    </message>
    <message>
        <source>グラジエントの終わりの色</source>
        <extracomment>Screen readers: where the plate&apos;s gradient ends.</extracomment>
        <translation>Gradient end colour</translation>
    </message>
    <message>
        <source>影の色</source>
        <extracomment>Screen readers: the combo box next to &quot;影を付ける&quot;.</extracomment>
        <translation>Shadow colour</translation>
    </message>
</context>
<context>
    <name>TForm3</name>
    <message>
        <source>パラメータ編集</source>
        <translation>Edit parameters</translation>
    </message>
    <message>
        <source>アプリに渡すファイルを指定</source>
        <translation>Parameters (such as a file to open)</translation>
    </message>
    <message>
        <source>ファイル選択</source>
        <translation>Choose file…</translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>Hint shown on hover</translation>
    </message>
    <message>
        <source>変更</source>
        <extracomment>Button: saves the entry.</extracomment>
        <translation>Save</translation>
    </message>
    <message>
        <source>破棄</source>
        <extracomment>Button: discards the changes.</extracomment>
        <translation>Discard</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>設定とグループのファイルを置くフォルダ</source>
        <translation>Folder for the settings and group files</translation>
    </message>
    <message>
        <source>動いているバーを呼び出してフォーカスを渡す</source>
        <translation>Summon the running bar and give it the keyboard focus</translation>
    </message>
    <message>
        <source>バーを呼び出す。バーにフォーカスがあれば元のウィンドウに戻す</source>
        <translation>Summon the bar; if it has the focus, return the focus to the window that had it</translation>
    </message>
</context>
</TS>
