<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>dorvelix</name>
    <message>
        <source>ドライブ情報</source>
        <translation>Drive information</translation>
    </message>
    <message>
        <source>ホルダー情報</source>
        <translation>Folder information</translation>
    </message>
    <message>
        <source>ドライブ ：</source>
        <translation>Drive:</translation>
    </message>
    <message>
        <source>ﾊﾞｲﾄ/ｾｸﾀ(ﾊﾞｲﾄ) ：</source>
        <translation>Bytes/sector:</translation>
    </message>
    <message>
        <source>セクタ／クラスタ ：</source>
        <translation>Sectors/cluster:</translation>
    </message>
    <message>
        <source>クラスタ長(ﾊﾞｲﾄ) ：</source>
        <translation>Bytes/cluster:</translation>
    </message>
    <message>
        <source>全クラスタ数 ： </source>
        <translation>Total clusters: </translation>
    </message>
    <message>
        <source>全容量(ﾊﾞｲﾄ) ：</source>
        <translation>Capacity (bytes):</translation>
    </message>
    <message>
        <source>占有クラスタ数 ：</source>
        <translation>Used clusters:</translation>
    </message>
    <message>
        <source>占有バイト数 ：</source>
        <translation>Used bytes:</translation>
    </message>
    <message>
        <source>空きクラスタ数 ：</source>
        <translation>Free clusters:</translation>
    </message>
    <message>
        <source>空き容量(ﾊﾞｲﾄ) ：</source>
        <translation>Free (bytes):</translation>
    </message>
    <message>
        <source>空き容量率（％）：</source>
        <translation>Free share (%):</translation>
    </message>
    <message>
        <source>ドライブ使用状況</source>
        <translation>Drive usage</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ数 ：</source>
        <translation>Files:</translation>
    </message>
    <message>
        <source>含むサブホルダ</source>
        <translation>With subfolders</translation>
    </message>
    <message>
        <source>ホルダ数 ：</source>
        <translation>Folders:</translation>
    </message>
    <message>
        <source>ファイル数 ：</source>
        <translation>Files:</translation>
    </message>
    <message>
        <source>換算クラスタ長</source>
        <translation>Converted at</translation>
    </message>
    <message>
        <source>終了(&amp;Q)</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>換算クラスタ長(&amp;C)</source>
        <translation>&amp;Conversion length</translation>
    </message>
    <message>
        <source>画面の大きさ(&amp;D)</source>
        <translation>Screen &amp;size</translation>
    </message>
    <message>
        <source>大(&amp;L)</source>
        <translation>&amp;Large</translation>
    </message>
    <message>
        <source>中(&amp;M)</source>
        <translation>&amp;Medium</translation>
    </message>
    <message>
        <source>小(&amp;S)</source>
        <translation>&amp;Small</translation>
    </message>
    <message>
        <source>説明(&amp;S)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>機能概要(&amp;K)</source>
        <translation>&amp;Overview</translation>
    </message>
    <message>
        <source>使用方法(&amp;S)</source>
        <translation>&amp;How to use</translation>
    </message>
    <message>
        <source>FATについて(&amp;F)</source>
        <translation>About &amp;FAT</translation>
    </message>
    <message>
        <source>その他(&amp;E)</source>
        <translation>Other &amp;notes</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;V)</source>
        <translation>&amp;Version</translation>
    </message>
    <message>
        <source>ファイル属性</source>
        <translation>File properties</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>ホルダー・ファイル名</source>
        <translation>Folder and file name</translation>
    </message>
    <message>
        <source>ファイル長：</source>
        <translation>Length:</translation>
    </message>
    <message>
        <source>占有クラスタ数：</source>
        <translation>Clusters:</translation>
    </message>
    <message>
        <source>ファイル日付：</source>
        <translation>Date:</translation>
    </message>
    <message>
        <source>ファイル属性：</source>
        <translation>Attributes:</translation>
    </message>
    <message>
        <source>ファイルが選択されていません。</source>
        <translation>No file is selected.</translation>
    </message>
    <message>
        <source> メディア未挿入？</source>
        <translation> No medium in the drive?</translation>
    </message>
    <message>
        <source>パスレベル15以下にファイルがありますが無視します。</source>
        <translation>Files lie below path level 15; they are ignored.</translation>
    </message>
    <message>
        <source>Return に対応する GoSub がありません。</source>
        <translation>Return without GoSub.</translation>
    </message>
    <message>
        <source>プロシージャの呼び出し、または引数が不正です。</source>
        <translation>Invalid procedure call or argument.</translation>
    </message>
    <message>
        <source>オーバーフローしました。</source>
        <translation>Overflow.</translation>
    </message>
    <message>
        <source>メモリが不足しています。</source>
        <translation>Out of memory.</translation>
    </message>
    <message>
        <source>インデックスが有効範囲にありません。</source>
        <translation>Subscript out of range.</translation>
    </message>
    <message>
        <source>0 で除算しました。</source>
        <translation>Division by zero.</translation>
    </message>
    <message>
        <source>型が一致しません。</source>
        <translation>Type mismatch.</translation>
    </message>
    <message>
        <source>ファイル名または番号が不正です。</source>
        <translation>Bad file name or number.</translation>
    </message>
    <message>
        <source>ファイルが見つかりません。</source>
        <translation>File not found.</translation>
    </message>
    <message>
        <source>デバイス I/O エラーです。</source>
        <translation>Device I/O error.</translation>
    </message>
    <message>
        <source>ディスクの空き容量が不足しています。</source>
        <translation>Not enough free space on the disk.</translation>
    </message>
    <message>
        <source>デバイスが準備されていません。</source>
        <translation>Device unavailable.</translation>
    </message>
    <message>
        <source>書き込みできません。</source>
        <translation>Cannot write.</translation>
    </message>
    <message>
        <source>ディスクが準備されていません。</source>
        <translation>Disk not ready.</translation>
    </message>
    <message>
        <source>パス名が無効です。</source>
        <translation>Invalid path name.</translation>
    </message>
    <message>
        <source>パスが見つかりません。</source>
        <translation>Path not found.</translation>
    </message>
    <message>
        <source>アプリケーション定義またはオブジェクト定義のエラーです。</source>
        <translation>Application-defined or object-defined error.</translation>
    </message>
    <message>
        <source>パスにアクセスする権限がありません。</source>
        <translation>No permission to access the path.</translation>
    </message>
    <message>
        <source>パスがホルダーではありません。</source>
        <translation>The path is not a folder.</translation>
    </message>
    <message>
        <source>パス名が長すぎます。</source>
        <translation>The path name is too long.</translation>
    </message>
    <message>
        <source>パスの読み取りでエラーが発生しました。</source>
        <translation>An error occurred while reading the path.</translation>
    </message>
    <message>
        <source>開いているファイルが多すぎます。</source>
        <translation>Too many files are open.</translation>
    </message>
    <message>
        <source>この検索中は同じ種類のメッセージを表示しない</source>
        <translation>Do not show messages of this kind again during this search</translation>
    </message>
    <message>
        <source>この検索で表示しなかったメッセージが %1 件あります。
検索ログに全てのメッセージがあります。</source>
        <translation>%1 messages of this search were not shown.
The search log holds every message.</translation>
    </message>
    <message>
        <source>検索ログを開く(&amp;L)</source>
        <translation>Open the search &amp;log</translation>
    </message>
    <message>
        <source>検索ログ</source>
        <translation>Search log</translation>
    </message>
    <message>
        <source>種類</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>パス</source>
        <translation>Path</translation>
    </message>
    <message>
        <source>原因</source>
        <translation>Cause</translation>
    </message>
    <message>
        <source>全てコピー(&amp;C)</source>
        <translation>&amp;Copy all</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>検索ログ(&amp;G)</source>
        <translation>Search lo&amp;g</translation>
    </message>
    <message>
        <source>最新の情報に更新(&amp;R)</source>
        <translation>&amp;Refresh</translation>
    </message>
    <message>
        <source>検索ランプ</source>
        <translation>Search lamp</translation>
    </message>
    <message>
        <source>緑</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>赤</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>ドライブの使用 %1、検索したホルダ %2</source>
        <translation>%1 of the drive used, %2 by the searched folder</translation>
    </message>
    <message>
        <source>ドライブの容量は不明</source>
        <translation>Drive capacity unknown</translation>
    </message>
    <message>
        <source>ファイルシステム</source>
        <translation>File system</translation>
    </message>
    <message>
        <source>ドライブ</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>ホルダ</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>&#x3000;&#x3000;Dorvelix.exe Ver </source>
        <translation>  Dorvelix Ver </translation>
    </message>
    <message>
        <source>&#x3000;&#x3000;support@dorvelix.example</source>
        <translation>  support@dorvelix.example</translation>
    </message>
    <message>
        <source>DORVELIX 機能概要</source>
        <translation>DORVELIX Overview</translation>
    </message>
    <message>
        <source>                  ◇◇■■  機  能  概  要  ■■◇◇</source>
        <translation>                  ◇◇■■  O V E R V I E W  ■■◇◇</translation>
    </message>
    <message>
        <source>  ・指定ドライブの全容量、使用容量、空き容量を表示します。</source>
        <translation>  - Shows the chosen drive&apos;s capacity, the space in use and the free space.</translation>
    </message>
    <message>
        <source>  ・指定ホルダーと当該パスレベル以下が占有する容量を表示します。</source>
        <translation>  - Shows the space the chosen folder and every level below it occupy.</translation>
    </message>
    <message>
        <source>  ・検索パスレベルは15層までカバーしています。</source>
        <translation>  - The search goes down to path level 15,</translation>
    </message>
    <message>
        <source>    すなわち、d:\H1\H2\H3\H4\H5\H6\H7\H8\H9\H10\H11\H12\H13\H15\filename までです。</source>
        <translation>    that is, down to /H1/H2/H3/H4/H5/H6/H7/H8/H9/H10/H11/H12/H13/H15/filename.</translation>
    </message>
    <message>
        <source>DORVELIX 使用方法</source>
        <translation>DORVELIX How to use</translation>
    </message>
    <message>
        <source>                  ◇◇■■  使  用  方  法  ■■◇◇</source>
        <translation>                  ◇◇■■  H O W  T O  U S E  ■■◇◇</translation>
    </message>
    <message>
        <source>  1)ドライブ名を指定・検索してドライブ容量等を取得・表示します。</source>
        <translation>  1) Pick a drive in the drive list: its capacity and use are read and shown.</translation>
    </message>
    <message>
        <source>  2)検索したいホルダーをダブルクリックすると、そのホルダーと</source>
        <translation>  2) Double-click the folder you want to search: the drive space that folder</translation>
    </message>
    <message>
        <source>    そのパスレベル以下が占有しているドライブ容量等が表示されます。</source>
        <translation>    and every level below it occupy is shown.</translation>
    </message>
    <message>
        <source>  3)ドライブ変更時およびホルダー変更時、SHIFTキーを押下しながら</source>
        <translation>  3) Hold SHIFT while you pick another drive or open another folder,</translation>
    </message>
    <message>
        <source>     これを行うとホルダー検索を行いません。</source>
        <translation>     and no folder search is made.</translation>
    </message>
    <message>
        <source>  4)ファイルリスト中のファイル名をダブルクリックすると、そのファイル</source>
        <translation>  4) Double-click a file name in the file list for that file&apos;s</translation>
    </message>
    <message>
        <source>    情報を表示します。</source>
        <translation>    information.</translation>
    </message>
    <message>
        <source>ＦＡＴについて</source>
        <translation>About FAT</translation>
    </message>
    <message>
        <source>                  ◇◇■■  ＦＡＴについて  ■■◇◇</source>
        <translation>                  ◇◇■■  A B O U T  F A T  ■■◇◇</translation>
    </message>
    <message>
        <source>  ・ファイルシステム名でＦＡＴ（１６）とＦＡＴ３２について表示確認済です。</source>
        <translation>  - The figures have been checked on drives whose file system is FAT (16) and FAT32.</translation>
    </message>
    <message>
        <source>  &#x3000;（ＮＴＦＳ、ＨＰＦＳ、ＥＸＴ２については未確認です。）</source>
        <translation>    (They have not been checked on NTFS, HPFS or EXT2.)</translation>
    </message>
    <message>
        <source>  &#x3000;ただし、ＦＡＴ３２について、下記ＨＤＤ容量の境目では間違い表示があるかも</source>
        <translation>    On FAT32, though, the figures may be wrong at the drive capacities</translation>
    </message>
    <message>
        <source>    知れません。</source>
        <translation>    where the cluster length changes (below).</translation>
    </message>
    <message>
        <source>  ・右側に表示されている「ホルダー情報」は特に問題ありません。</source>
        <translation>  - The &quot;Folder information&quot; on the right has no known problem.</translation>
    </message>
    <message>
        <source>    ただし、上記理由からクラスタ長が正しく設定されていない場合があります。</source>
        <translation>    For the reason above, though, its cluster length may not be the right one.</translation>
    </message>
    <message>
        <source>  &#x3000;&#x3000;この場合、下記を参考に、換算クラスタ長を指定してから実行してみて</source>
        <translation>    Then choose the conversion cluster length after the table below</translation>
    </message>
    <message>
        <source>&#x3000;&#x3000;ください。</source>
        <translation>    and search again.</translation>
    </message>
    <message>
        <source>&#x3000;&#x3000;ＨＤＤ容量&#x3000;512MB&#x3000;～&#x3000;８GB&#x3000;：  4,096ﾊﾞｲﾄ</source>
        <translation>      Drive of 512 MB to 8 GB: 4,096 bytes</translation>
    </message>
    <message>
        <source>&#x3000;&#x3000;&#x3000;&#x3000;&#x3000;&#x3000;&#x3000;&#x3000; ８GB&#x3000;～&#x3000;16GB&#x3000;：  8,192ﾊﾞｲﾄ</source>
        <translation>      Drive of 8 GB to 16 GB: 8,192 bytes</translation>
    </message>
    <message>
        <source>&#x3000;&#x3000;&#x3000;&#x3000;&#x3000;&#x3000;&#x3000;&#x3000; 16GB  ～&#x3000;32GB&#x3000;： 16,384ﾊﾞｲﾄ</source>
        <translation>      Drive of 16 GB to 32 GB: 16,384 bytes</translation>
    </message>
    <message>
        <source>&#x3000;&#x3000;&#x3000;&#x3000;&#x3000;&#x3000;&#x3000;&#x3000; 32GB&#x3000;～&#x3000;&#x3000;&#x3000;&#x3000;： 32,768ﾊﾞｲﾄ</source>
        <translation>      Drive of 32 GB or more: 32,768 bytes</translation>
    </message>
    <message>
        <source>DORVELIX その他説明</source>
        <translation>DORVELIX Other notes</translation>
    </message>
    <message>
        <source>                  ◇◇■■  そ  の  他  ■■◇◇</source>
        <translation>                  ◇◇■■  O T H E R  N O T E S  ■■◇◇</translation>
    </message>
    <message>
        <source>   ・ホルダー情報欄の、上段は指定ホルダーのみ、下段は指定ホルダー</source>
        <translation>   - In the folder information, the upper rows count the chosen folder alone, the lower</translation>
    </message>
    <message>
        <source>     以下のそれぞれ占有するクラスター数、バイト数等を示します。</source>
        <translation>     rows the folder with every level below it: the clusters, bytes and so on they occupy.</translation>
    </message>
    <message>
        <source>   ・換算クラスタ長の指定により、指定パスレベル以下が占有する</source>
        <translation>   - With a conversion cluster length chosen, the clusters and space the folder and</translation>
    </message>
    <message>
        <source>     クラスタ数と容量を換算して最下段欄に表示します。</source>
        <translation>     the levels below it would occupy at that length are shown in the bottom rows.</translation>
    </message>
    <message>
        <source>     ・換算クラスタ長はドライブ変更でクリアされます。</source>
        <translation>     - Another drive clears the conversion cluster length.</translation>
    </message>
    <message>
        <source>     ・換算クラスタ長を変更した時は、そのホルダーを再検索して下さい。</source>
        <translation>     - After changing the conversion cluster length, search the folder again.</translation>
    </message>
    <message>
        <source>   ・ホルダー・ファイル名テーブルは、複数クラスタを占有する場合も少し</source>
        <translation>   - A folder&apos;s table of names is counted as occupying more than one cluster</translation>
    </message>
    <message>
        <source>     カバーしていますが不完全です。（ロングファイルネームがあった場合）</source>
        <translation>     only in part (where there are long file names),</translation>
    </message>
    <message>
        <source>     このため、クラスタ総数が一致しない場合があります。</source>
        <translation>     so the cluster totals may not agree.</translation>
    </message>
    <message>
        <source>   ・クラスタ数の不一致が大きい場合は、「ごみ箱」残をチェックして下さい。</source>
        <translation>   - Where the cluster counts differ widely, check what is left in the trash.</translation>
    </message>
    <message>
        <source>   ・ホルダーの検索エラーがあった場合、当該ホルダー以下は検索されて</source>
        <translation>   - Where a folder cannot be searched, nothing below it is searched;</translation>
    </message>
    <message>
        <source>     いません。またファイル名検索も同様です。</source>
        <translation>     the same holds for its file names.</translation>
    </message>
    <message>
        <source>   ・「ドライブ情報」欄表示値は、ドライブ情報検索用ＡＰＩ関数での取得値、</source>
        <translation>   - The &quot;Drive information&quot; figures are those the system gives for the drive</translation>
    </message>
    <message>
        <source>   &#x3000;（ただし、ＦＡＴ３２の場合のクラスタ数・クラスタ長は逆算値）</source>
        <translation>     (on FAT32 the cluster count and cluster length are worked back from them);</translation>
    </message>
    <message>
        <source>   &#x3000;「ホルダー情報」欄表示値は、ＺＫ４の関数での取得・計算値です。</source>
        <translation>     the &quot;Folder information&quot; figures are read and counted by Dorvelix itself.</translation>
    </message>
    <message>
        <source>ツール(&amp;T)</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>サブホルダの内訳(&amp;B)</source>
        <translation>Subfolder &amp;breakdown</translation>
    </message>
    <message>
        <source>コピー先チェック(&amp;C)...</source>
        <translation>&amp;Copy check...</translation>
    </message>
    <message>
        <source>サブホルダの内訳</source>
        <translation>Subfolder breakdown</translation>
    </message>
    <message>
        <source>コピー先チェック</source>
        <translation>Copy check</translation>
    </message>
    <message>
        <source>検索中</source>
        <translation>Searching</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>ホルダ数</source>
        <translation>Folders</translation>
    </message>
    <message>
        <source>ファイル数</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>占有クラスタ数</source>
        <translation>Used clusters</translation>
    </message>
    <message>
        <source>占有バイト数</source>
        <translation>Used bytes</translation>
    </message>
    <message>
        <source>換算クラスタ数</source>
        <translation>Converted clusters</translation>
    </message>
    <message>
        <source>換算バイト数</source>
        <translation>Converted bytes</translation>
    </message>
    <message>
        <source>増加バイト数</source>
        <translation>Growth in bytes</translation>
    </message>
    <message>
        <source>換算バイト数の割合</source>
        <translation>Share of converted bytes</translation>
    </message>
    <message>
        <source>合計</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>換算クラスタ長 ：%1 バイト</source>
        <translation>Conversion cluster length: %1 bytes</translation>
    </message>
    <message>
        <source>「%1」で並べ替え</source>
        <translation>Sort by &quot;%1&quot;</translation>
    </message>
    <message>
        <source>ホルダ ：</source>
        <translation>Folder: </translation>
    </message>
    <message>
        <source>まだ検索していません</source>
        <translation>Not searched yet</translation>
    </message>
    <message>
        <source>検索が中止されたため、内訳はありません</source>
        <translation>The search was stopped: there is no breakdown</translation>
    </message>
    <message>
        <source>CSV で保存(&amp;S)...</source>
        <translation>&amp;Save as CSV...</translation>
    </message>
    <message>
        <source>保存できませんでした</source>
        <translation>Could not save</translation>
    </message>
    <message>
        <source>コピーするホルダ ：</source>
        <translation>Folder to copy:</translation>
    </message>
    <message>
        <source>コピー先 ：</source>
        <translation>Copy to:</translation>
    </message>
    <message>
        <source>ホルダを選ぶ(&amp;F)...</source>
        <translation>Choose a &amp;folder...</translation>
    </message>
    <message>
        <source>調べる</source>
        <translation>Check</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>ホルダ数 %1  ファイル数 %2  経過 %3 秒</source>
        <translation>Folders: %1   Files: %2   Elapsed: %3 s</translation>
    </message>
    <message>
        <source>必要なバイト数 ：</source>
        <translation>Bytes needed:</translation>
    </message>
    <message>
        <source>コピー先の空きバイト数 ：</source>
        <translation>Free bytes on the target:</translation>
    </message>
    <message>
        <source>コピー先のクラスタ長 ：</source>
        <translation>Target cluster length:</translation>
    </message>
    <message>
        <source>判定 ：</source>
        <translation>Verdict:</translation>
    </message>
    <message>
        <source>入ります</source>
        <translation>It fits</translation>
    </message>
    <message>
        <source>入りません</source>
        <translation>It does not fit</translation>
    </message>
    <message>
        <source>差 ：</source>
        <translation>Difference:</translation>
    </message>
    <message>
        <source>余裕 %1 バイト</source>
        <translation>%1 bytes to spare</translation>
    </message>
    <message>
        <source>不足 %1 バイト</source>
        <translation>%1 bytes short</translation>
    </message>
    <message>
        <source>コピー先のファイルシステム ：</source>
        <translation>Target file system:</translation>
    </message>
    <message>
        <source>数え方 ：</source>
        <translation>Counted by:</translation>
    </message>
    <message>
        <source>Linux vfat、shortname=%1：大文字だけの 8.3 の名前のほかは全て長い名前付き</source>
        <translation>Linux vfat, shortname=%1: every name but an upper-case-only 8.3 name has a long name</translation>
    </message>
    <message>
        <source>Linux vfat、shortname=%1：名前と拡張子がそれぞれ大文字だけか小文字だけの 8.3 の名前のほかは全て長い名前付き</source>
        <translation>Linux vfat, shortname=%1: every name has a long name but an 8.3 name whose name and extension are each upper case only or lower case only</translation>
    </message>
    <message>
        <source>fusefat：全ての名前に長い名前</source>
        <translation>fusefat: a long name for every name</translation>
    </message>
    <message>
        <source>%1（ここでは知られていないドライバ）：全ての名前に長い名前を数えました</source>
        <translation>%1 (a driver not known here): a long name was counted for every name</translation>
    </message>
    <message>
        <source>exFAT（%1）：名前ごとにファイル、ストリーム拡張と 15 文字ごとのファイル名のエントリ</source>
        <translation>exFAT (%1): for each name a file entry, a stream extension entry and a file name entry per 15 characters</translation>
    </message>
    <message>
        <source>。ASCII 以外の文字を含む名前は長い名前で数えました</source>
        <translation>. Names with characters other than ASCII were counted with a long name</translation>
    </message>
    <message>
        <source>。コピー先のホルダに加わるエントリは数えていません</source>
        <translation>. The entries added to the target folder are not counted</translation>
    </message>
    <message>
        <source>見積もり：このファイルシステムは FAT とは違う規則で割り当てます</source>
        <translation>Estimate: this file system does not allocate space the way FAT does</translation>
    </message>
    <message>
        <source>FAT にコピーできないもの ：</source>
        <translation>Will not copy to FAT:</translation>
    </message>
    <message>
        <source>理由</source>
        <translation>Reason</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>FAT 系ではないので制限はありません</source>
        <translation>none: only FAT file systems have these limits</translation>
    </message>
    <message>
        <source>中止しました</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>%1 メディア未挿入？</source>
        <translation>%1 No medium in the drive?</translation>
    </message>
    <message>
        <source>%1 が応答しなくなりました</source>
        <translation>%1 stopped answering</translation>
    </message>
    <message>
        <source>%1 はクラスタ長を返しません</source>
        <translation>%1 gives no cluster length</translation>
    </message>
    <message>
        <source>ホルダを開けません ：%1</source>
        <translation>Cannot open the folder: %1</translation>
    </message>
    <message>
        <source>読めなかったもの ：%1</source>
        <translation>Could not read: %1</translation>
    </message>
    <message>
        <source>クラスタ長の比較(&amp;L)...</source>
        <translation>Cluster &amp;length comparison...</translation>
    </message>
    <message>
        <source>クラスタ長の比較</source>
        <translation>Cluster length comparison</translation>
    </message>
    <message>
        <source>クラスタ長</source>
        <translation>Cluster length</translation>
    </message>
    <message>
        <source>FAT32 バイト数</source>
        <translation>FAT32 bytes</translation>
    </message>
    <message>
        <source>FAT32 余り(%)</source>
        <translation>FAT32 slack (%)</translation>
    </message>
    <message>
        <source>exFAT バイト数</source>
        <translation>exFAT bytes</translation>
    </message>
    <message>
        <source>exFAT 余り(%)</source>
        <translation>exFAT slack (%)</translation>
    </message>
    <message>
        <source>ファイル自体のバイト数 ：</source>
        <translation>Files&apos; own bytes:</translation>
    </message>
    <message>
        <source>クラスタ長ごとのコピーのバイト数</source>
        <translation>Bytes of the copy at each cluster length</translation>
    </message>
    <message>
        <source>クラスタ長 %1 バイト %2 ：%3 バイト</source>
        <translation>%2 at %1-byte clusters: %3 bytes</translation>
    </message>
    <message>
        <source>ファイル自体</source>
        <translation>Files&apos; own bytes</translation>
    </message>
    <message>
        <source>換算</source>
        <translation>Conv.</translation>
    </message>
    <message>
        <source>読み込み中 ：</source>
        <translation>Reading:</translation>
    </message>
    <message>
        <source>先にメッセージに答えてください。答えると中止できます。</source>
        <translation>Answer the message first; then the search can stop.</translation>
    </message>
    <message>
        <source>検索を中止しました。中止までに数えたもの ：</source>
        <translation>The search was stopped. Counted until then:</translation>
    </message>
    <message>
        <source>経過時間 ：</source>
        <translation>Elapsed:</translation>
    </message>
    <message>
        <source>%1 秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>4 GiB 以上のファイル</source>
        <translation>File of 4 GiB or more</translation>
    </message>
    <message>
        <source>FAT で使えない文字を含む名前</source>
        <translation>Name with a character FAT does not allow</translation>
    </message>
    <message>
        <source>ピリオドか空白で終わる名前</source>
        <translation>Name ending in a period or a space</translation>
    </message>
    <message>
        <source>同じホルダに大文字小文字だけが違う名前がある</source>
        <translation>Another name in the folder differs only in case</translation>
    </message>
    <message>
        <source>シンボリックリンク</source>
        <translation>Symbolic link</translation>
    </message>
    <message>
        <source>FIFO、ソケットまたはデバイス</source>
        <translation>FIFO, socket or device</translation>
    </message>
    <message>
        <source>FAT のエントリが 65,536 を超えるホルダ</source>
        <translation>Folder of more than 65,536 FAT entries</translation>
    </message>
    <message>
        <source>コピー先のドライバが書けない ASCII 以外の文字を含む名前</source>
        <translation>Name with characters other than ASCII that the target driver cannot write</translation>
    </message>
    <message>
        <source>FAT12/16 のルートにコピーするホルダの入る余地がない</source>
        <translation>No room for the folder in the FAT12/16 root</translation>
    </message>
    <message>
        <source>%1 は %2 の中にあり、ファイルをコピーできるドライブではありません</source>
        <translation>%1 lies on %2, which is not a drive that files can be copied to</translation>
    </message>
    <message>
        <source>NTFS（%1）：エントリごとに MFT レコード 1 つ、小さなファイルはその中、ホルダの索引はブロック単位</source>
        <translation>NTFS (%1): an MFT record for each entry, small files inside it, folder indexes in blocks</translation>
    </message>
    <message>
        <source>%1：データとホルダのブロック、エクステントかマップのブロック、エントリごとに i ノード 1 つ</source>
        <translation>%1: data and folder blocks, extent or map blocks, and an inode for each entry</translation>
    </message>
    <message>
        <source>btrfs：データはセクタ単位、小さなファイルはインライン、メタデータはプロファイルに従ったチャンク単位</source>
        <translation>btrfs: data in whole sectors, small files inline, metadata chunks by their profile</translation>
    </message>
    <message>
        <source>f2fs：エントリごとにノードブロック 1 つ、小さなファイルとホルダはインライン、ホルダのブロックはハッシュ順</source>
        <translation>f2fs: a node block for each entry, small files and folders inline, folder blocks by hash</translation>
    </message>
    <message>
        <source>作るファイルとホルダ ：</source>
        <translation>Files and folders made:</translation>
    </message>
    <message>
        <source>%1 個</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>%1 個（空き i ノード %2 個）</source>
        <translation>%1 (%2 inodes free)</translation>
    </message>
    <message>
        <source>足りないもの ：</source>
        <translation>Runs out of:</translation>
    </message>
    <message>
        <source>バイト数（必要 %1、残り %2）</source>
        <translation>bytes (needs %1, %2 left)</translation>
    </message>
    <message>
        <source>i ノード（必要 %1 個、残り %2 個）</source>
        <translation>inodes (needs %1, %2 left)</translation>
    </message>
    <message>
        <source>ホルダのエントリ数（「%3」に %1 個、上限 %2 個）</source>
        <translation>folder entries (&quot;%3&quot; needs %1, at most %2)</translation>
    </message>
    <message>
        <source>ルートのエントリ（「%3」に続いた空き %1 個が必要、残り %2 個）</source>
        <translation>root folder entries (&quot;%3&quot; needs %1 free side by side, %2 left)</translation>
    </message>
    <message>
        <source>ファイルの大きさ（「%3」が %1 バイト、上限 %2 バイト）</source>
        <translation>file size (&quot;%3&quot; has %1 bytes, at most %2)</translation>
    </message>
    <message>
        <source>、全部で %1 個</source>
        <translation>, %1 in all</translation>
    </message>
    <message>
        <source>、</source>
        <translation>; </translation>
    </message>
    <message>
        <source>コピー先のファイルシステムには大きすぎるファイル</source>
        <translation>File too large for the target&apos;s file system</translation>
    </message>
    <message>
        <source>コピー先のファイルシステムには多すぎるサブホルダを持つホルダ</source>
        <translation>Folder with more subfolders than the target&apos;s file system takes</translation>
    </message>
    <message>
        <source>ボリュームの容量 ：</source>
        <translation>Volume size:</translation>
    </message>
    <message>
        <source>例 64G（K、M、G、T は 1,024 倍ずつ）</source>
        <translation>e.g. 64G (K, M, G and T are powers of 1,024)</translation>
    </message>
    <message>
        <source>容量は 64G や 500000000 のように書いてください</source>
        <translation>Write the size as 64G or 500000000</translation>
    </message>
    <message>
        <source>勧めるクラスタ長 ：</source>
        <translation>Suggested cluster length:</translation>
    </message>
    <message>
        <source>%1：クラスタ長 %2 バイトで最も少なく %3 バイト</source>
        <translation>%1: %2-byte clusters take least, %3 bytes</translation>
    </message>
    <message>
        <source>（この容量での %1 の既定）</source>
        <translation>; that is %1&apos;s default for this size</translation>
    </message>
    <message>
        <source>。この容量での %1 の既定 %2 バイトでは %3 バイトで、%4 バイト多い</source>
        <translation>; %1&apos;s default for this size, %2-byte clusters, takes %3 bytes, %4 more</translation>
    </message>
    <message>
        <source>。フォーマット ：%1</source>
        <translation>. Format with: %1</translation>
    </message>
    <message>
        <source>%1：この容量に入るクラスタ長はありません</source>
        <translation>%1: no cluster length fits a volume of this size</translation>
    </message>
    <message>
        <source>%1：4 GiB 以上のファイル（最大 %2 バイト）が入りません</source>
        <translation>%1: takes no file of 4 GiB or more (the largest has %2 bytes)</translation>
    </message>
    <message>
        <source>%1 の割り当て方はここでは分からないため、多めに数えました：エントリごとに 4,096 バイト以上の単位 1 つ、ホルダごとに名前のバイト数の 2 倍、コピー先のホルダに加わるエントリに 1 単位</source>
        <translation>%1 allocates by rules not known here, so the count is generous: one unit of at least 4,096 bytes for each entry, twice the names&apos; bytes for each folder, and one unit for the entry in the folder the copy goes into</translation>
    </message>
    <message>
        <source>コピー先のホルダの索引に収まらない数の名前を持つホルダ</source>
        <translation>Folder with more names than the target&apos;s folder index holds</translation>
    </message>
    <message>
        <source>場所</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>戻る (Alt+←)</source>
        <translation>Back (Alt+Left)</translation>
    </message>
    <message>
        <source>進む (Alt+→)</source>
        <translation>Forward (Alt+Right)</translation>
    </message>
    <message>
        <source>上のホルダへ (BackSpace)</source>
        <translation>Up to the folder above (Backspace)</translation>
    </message>
    <message>
        <source>換算バイト数のツリーマップ</source>
        <translation>Treemap of the converted bytes</translation>
    </message>
    <message>
        <source>ホルダごとのタイル。面積は換算クラスタ長での占有バイト数、色は余りの割合（占有バイト数のうちファイル自体のバイト数を超える部分）です。矢印キーでタイルを移り、Enter でそのホルダに入ります</source>
        <translation>One tile per folder: its area is the bytes it occupies at the conversion cluster length, its colour the share that is slack (the occupied bytes beyond the files&apos; own bytes). The arrow keys move between the tiles, Enter goes into the folder</translation>
    </message>
    <message>
        <source>%1：占有バイト数 %2、ファイル自体のバイト数 %3、余り %4</source>
        <translation>%1: %2 bytes occupied, files&apos; own bytes %3, slack %4</translation>
    </message>
    <message>
        <source>%1（ホルダ自体のファイルとテーブル）</source>
        <translation>%1 (the folder&apos;s own files and table)</translation>
    </message>
    <message>
        <source>色：余りの割合</source>
        <translation>Colour: share of slack</translation>
    </message>
    <message>
        <source>占有するものがありません</source>
        <translation>Nothing occupied</translation>
    </message>
    <message>
        <source>このホルダを検索(&amp;E)</source>
        <translation>S&amp;earch this folder</translation>
    </message>
    <message>
        <source>保存(&amp;V)...</source>
        <translation>Sa&amp;ve scan...</translation>
    </message>
    <message>
        <source>前回と比較(&amp;P)...</source>
        <translation>Com&amp;pare with a saved scan...</translation>
    </message>
    <message>
        <source>検索結果 (*.json)</source>
        <translation>Saved scans (*.json)</translation>
    </message>
    <message>
        <source>前回の検索結果として読めません</source>
        <translation>This file cannot be read as a saved scan</translation>
    </message>
    <message>
        <source>ファイルを読めません</source>
        <translation>The file cannot be read</translation>
    </message>
    <message>
        <source>ファイルが途中で終わっています</source>
        <translation>The file ends too early (it was cut short)</translation>
    </message>
    <message>
        <source>JSON の書き方になっていません</source>
        <translation>The file is not valid JSON</translation>
    </message>
    <message>
        <source>検索結果のファイルではありません</source>
        <translation>The file is not a saved scan</translation>
    </message>
    <message>
        <source>ほかのプログラムのファイルです</source>
        <translation>The file was written by another program</translation>
    </message>
    <message>
        <source>新しい版で保存されたファイルです</source>
        <translation>The file was saved by a newer version</translation>
    </message>
    <message>
        <source>比較に要る数値がありません</source>
        <translation>The file lacks a figure the comparison needs</translation>
    </message>
    <message>
        <source>長すぎる名前があります</source>
        <translation>The file holds a name longer than any folder name can be</translation>
    </message>
    <message>
        <source>ファイルのドライブが応答しません</source>
        <translation>The drive holding the file is not answering</translation>
    </message>
    <message>
        <source>前回との比較</source>
        <translation>Changes since the saved scan</translation>
    </message>
    <message>
        <source>前回 ：%1&#x3000;今回 ：%2</source>
        <translation>Saved: %1   Now: %2</translation>
    </message>
    <message>
        <source>変わったホルダはありません</source>
        <translation>No folder has changed</translation>
    </message>
    <message>
        <source>変化</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>前回の占有バイト数</source>
        <translation>Bytes used then</translation>
    </message>
    <message>
        <source>今回の占有バイト数</source>
        <translation>Bytes used now</translation>
    </message>
    <message>
        <source>増えたバイト数</source>
        <translation>Growth in bytes</translation>
    </message>
    <message>
        <source>前回のファイル数</source>
        <translation>Files then</translation>
    </message>
    <message>
        <source>今回のファイル数</source>
        <translation>Files now</translation>
    </message>
    <message>
        <source>追加</source>
        <translation>Added</translation>
    </message>
    <message>
        <source>消失</source>
        <translation>Gone</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>Changed</translation>
    </message>
    <message>
        <source>コピー先のホルダを選ぶ</source>
        <translation>Choose the folder to copy to</translation>
    </message>
    <message>
        <source>   128(&amp;0)</source>
        <translation>128 bytes (&amp;0)</translation>
    </message>
    <message>
        <source>   256(&amp;1)</source>
        <translation>256 bytes (&amp;1)</translation>
    </message>
    <message>
        <source>   512(&amp;2)</source>
        <translation>512 bytes (&amp;2)</translation>
    </message>
    <message>
        <source> 1,024(&amp;3)</source>
        <translation>1,024 bytes (&amp;3)</translation>
    </message>
    <message>
        <source> 2,048(&amp;4)</source>
        <translation>2,048 bytes (&amp;4)</translation>
    </message>
    <message>
        <source> 4,096(&amp;5)</source>
        <translation>4,096 bytes (&amp;5)</translation>
    </message>
    <message>
        <source> 8,192(&amp;6)</source>
        <translation>8,192 bytes (&amp;6)</translation>
    </message>
    <message>
        <source>16,384(&amp;7)</source>
        <translation>16,384 bytes (&amp;7)</translation>
    </message>
    <message>
        <source>32,768(&amp;8)</source>
        <translation>32,768 bytes (&amp;8)</translation>
    </message>
    <message>
        <source>%1 ﾊﾞｲﾄ (%2H )</source>
        <translation>%1 bytes (0x%2)</translation>
    </message>
    <message>
        <source>ドライブ情報 %1</source>
        <translation>%1 on the drive</translation>
    </message>
    <message>
        <source>ホルダー情報 %1</source>
        <translation>%1 in the folder</translation>
    </message>
    <message>
        <source>含むサブホルダ %1</source>
        <translation>%1, subfolders included</translation>
    </message>
    <message>
        <source>換算クラスタ長 %1</source>
        <translation>%1 at the conversion length</translation>
    </message>
    <message>
        <source>バイト数（対数目盛）</source>
        <translation>Bytes (logarithmic scale)</translation>
    </message>
    <message>
        <source>サイズ</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>更新日時</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>リンク</source>
        <translation>Link</translation>
    </message>
    <message>
        <source>特殊ファイル</source>
        <translation>Special file</translation>
    </message>
    <message>
        <source>%1 バイト</source>
        <translation>%1 bytes</translation>
    </message>
    <message>
        <source>場所(&amp;L):</source>
        <translation>&amp;Location:</translation>
    </message>
    <message>
        <source>ドライブ(&amp;D):</source>
        <translation>&amp;Drive:</translation>
    </message>
    <message>
        <source>上へ(&amp;U)</source>
        <translation>&amp;Up</translation>
    </message>
    <message>
        <source>ホーム(&amp;H)</source>
        <translation>&amp;Home</translation>
    </message>
    <message>
        <source>隠しファイルを表示(&amp;I)</source>
        <translation>Show h&amp;idden files</translation>
    </message>
    <message>
        <source>ホルダの中身</source>
        <translation>Contents of the folder</translation>
    </message>
    <message>
        <source>ファイル名(&amp;N):</source>
        <translation>File &amp;name:</translation>
    </message>
    <message>
        <source>ファイルの種類:</source>
        <translation>File type:</translation>
    </message>
    <message>
        <source>選ぶ(&amp;O)</source>
        <translation>Ch&amp;oose</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>開く(&amp;O)</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>読み込み中...</source>
        <translation>Reading...</translation>
    </message>
    <message>
        <source>%1 項目</source>
        <translation>%1 items</translation>
    </message>
    <message>
        <source>このホルダは読めません。</source>
        <translation>This folder cannot be read.</translation>
    </message>
    <message>
        <source>このドライブは応答しません。</source>
        <translation>This drive does not answer.</translation>
    </message>
    <message>
        <source>リンクの先はたどりません。</source>
        <translation>Links are not followed.</translation>
    </message>
    <message>
        <source>ファイル名を入れてください。</source>
        <translation>Type a file name.</translation>
    </message>
    <message>
        <source>ファイル名に「/」は使えません。</source>
        <translation>A file name cannot contain “/”.</translation>
    </message>
    <message>
        <source>開くファイルを選んでください。</source>
        <translation>Choose a file to open.</translation>
    </message>
    <message>
        <source>「%1」はファイルではないので、置き換えられません。</source>
        <translation>“%1” is not a file and cannot be replaced.</translation>
    </message>
    <message>
        <source>「%1」は既にあります。置き換えますか?</source>
        <translation>“%1” already exists. Replace it?</translation>
    </message>
</context>
</TS>
