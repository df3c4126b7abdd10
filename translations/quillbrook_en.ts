<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>AtomicFile</name>
    <message>
        <source>Not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新しい内容に置き換えましたが、ディスクへの確定に失敗しました（%1）</source>
        <extracomment>%1 is the system&apos;s reason.</extracomment>
        <translation>The new content is in place, but it could not be made durable on the disk (%1)</translation>
    </message>
</context>
<context>
    <name>Autostart</name>
    <message>
        <source>フォルダを作成できません</source>
        <translation>Cannot create the folder</translation>
    </message>
    <message>
        <source>%1 に書き込めません。%2</source>
        <extracomment>%1 is a file&apos;s path, %2 the system&apos;s reason.</extracomment>
        <translation>Cannot write to %1. %2</translation>
    </message>
    <message>
        <source>%1 を削除できません。%2</source>
        <extracomment>%1 is a file&apos;s path, %2 the system&apos;s reason.</extracomment>
        <translation>Cannot remove %1. %2</translation>
    </message>
</context>
<context>
    <name>DropArea</name>
    <message>
        <source>Drop領域</source>
        <extracomment>The area files are dropped on to register them.</extracomment>
        <translation>Drop area</translation>
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
        <source>the file could not be read whole and is kept as it is</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Opener</name>
    <message>
        <source>unknown error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a valid desktop entry</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No such file or directory</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>新規追加</source>
        <extracomment>A button&apos;s menu: registration mode, where dropped files become entries.</extracomment>
        <translation>Add new</translation>
    </message>
    <message>
        <source>削除</source>
        <extracomment>A button&apos;s menu: removes the button&apos;s entry.</extracomment>
        <translation>Delete</translation>
    </message>
    <message>
        <source>パラメータ編集</source>
        <translation>Edit parameters</translation>
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
        <source>%1 を開けませんでした。%2</source>
        <extracomment>%1 is the entry&apos;s file, %2 the system&apos;s reason.</extracomment>
        <translation>Could not open %1. %2</translation>
    </message>
    <message>
        <source>%1 に書き込めません。%2</source>
        <extracomment>%1 is the settings file&apos;s path, %2 the system&apos;s reason.</extracomment>
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
        <source>フォルダを開く</source>
        <extracomment>A button&apos;s menu: opens the folder that holds the entry&apos;s file.</extracomment>
        <translation>Open Folder</translation>
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
        <source>ファイルが見つかりません: %1</source>
        <extracomment>%1 is the path of an entry&apos;s file.</extracomment>
        <translation>File not found: %1</translation>
    </message>
    <message>
        <source>%1 が見つかりません。ドライブが外れているか、ファイルが移動または削除されました。</source>
        <extracomment>%1 is the entry&apos;s file.</extracomment>
        <translation>%1 is not there. Its drive may not be mounted, or the file was moved or deleted.</translation>
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
        <translation>No effect</translation>
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
        <translation>Style</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>Stealth</source>
        <translation>Stealth</translation>
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
        <translation>Icon</translation>
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
        <translation>Corner (half the size: circle)</translation>
    </message>
    <message>
        <source>Effect設定</source>
        <translation>Effect</translation>
    </message>
    <message>
        <source>輝色</source>
        <translation>Glow</translation>
    </message>
    <message>
        <source>影を付ける</source>
        <translation>Shadow</translation>
    </message>
    <message>
        <source>水平間隔</source>
        <translation>H gap</translation>
    </message>
    <message>
        <source>垂直間隔</source>
        <translation>V gap</translation>
    </message>
    <message>
        <source>ヒント表示 </source>
        <translation>Show hints </translation>
    </message>
    <message>
        <source>順番入れ替え</source>
        <translation>Order</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
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
        <translation>No.%1</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Wayland では「Top」と「タスクバーに表示」は働きません</source>
        <translation>On Wayland, “Top” and “Show in taskbar” have no effect</translation>
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
        <translation>File to pass to the program</translation>
    </message>
    <message>
        <source>ファイル選択</source>
        <translation>Choose file</translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>Hint</translation>
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
</context>
</TS>
