<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Font sheet saved</source>
        <translation>Schriftmusterblatt gespeichert</translation>
    </message>
</context>
<context>
    <name>DocumentDelivery</name>
    <message>
        <source>There is no documents folder to save the document in.</source>
        <translation>Es gibt keinen Dokumentenordner, in dem das Dokument gespeichert werden kann.</translation>
    </message>
    <message>
        <source>Cannot create the documents folder &quot;%1&quot;.</source>
        <translation>Der Dokumentenordner „%1“ kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Cannot print on &quot;%1&quot;: %2</source>
        <translation>Auf „%1“ kann nicht gedruckt werden: %2</translation>
    </message>
</context>
<context>
    <name>FontSheet</name>
    <message>
        <source>You must select at least one font before printing.  To select more than one font you can use the CTRL key.</source>
        <translation>Sie müssen vor dem Drucken mindestens eine Schrift auswählen. Um mehr als eine Schrift auszuwählen, können Sie die Strg-Taste verwenden.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>An Error has occured.  Please notify the author.</source>
        <translation>Ein Fehler ist aufgetreten. Bitte benachrichtigen Sie den Autor.</translation>
    </message>
    <message>
        <source>Glyphora Font Sheet %1</source>
        <translation>Glyphora-Schriftmusterblatt %1</translation>
    </message>
    <message>
        <source>Printing the %1 fonts you selected.</source>
        <translation>Schriften im Druck: %1</translation>
    </message>
    <message>
        <source>Finishing the sheet… %1%</source>
        <translation>Schriftmusterblatt wird fertiggestellt … %1 %</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Font Not Available</source>
        <translation>Schrift nicht verfügbar</translation>
    </message>
    <message>
        <source>Sample</source>
        <translation>Muster</translation>
    </message>
    <message>
        <source>Print Size</source>
        <translation>Druck</translation>
    </message>
    <message>
        <source>All Available Fonts</source>
        <translation>Verfügbare Schriften</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>Anzeige</translation>
    </message>
    <message>
        <source>Print Fonts</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alle wählen</translation>
    </message>
    <message>
        <source>Deselect All</source>
        <translation>Keine wählen</translation>
    </message>
    <message>
        <source>Use Font Name as Sample Text</source>
        <translation>Schriftname als Mustertext verwenden</translation>
    </message>
    <message>
        <source>Use User Defined Text as Sample Text</source>
        <translation>Eigenen Text als Mustertext verwenden</translation>
    </message>
    <message>
        <source>User Defined Text</source>
        <translation>Eigener Text</translation>
    </message>
    <message>
        <source>Printer Only Font</source>
        <translation>Nur Druckerschrift</translation>
    </message>
</context>
<context>
    <name>PartFonts</name>
    <message>
        <source>Font Not Available</source>
        <translation>Schrift nicht verfügbar</translation>
    </message>
</context>
<context>
    <name>PdfDocument</name>
    <message>
        <source>Cannot write a document in the folder &quot;%1&quot;: %2</source>
        <translation>Im Ordner „%1“ kann kein Dokument geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cannot start a document for the printer.</source>
        <translation>Für den Drucker kann kein Dokument begonnen werden.</translation>
    </message>
    <message>
        <source>Cannot write the document into the folder &quot;%1&quot;: %2</source>
        <translation>Das Dokument kann nicht in den Ordner „%1“ geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>PdfJoining</name>
    <message>
        <source>Cannot put the document together: %1</source>
        <translation>Das Dokument kann nicht zusammengesetzt werden: %1</translation>
    </message>
</context>
<context>
    <name>PdfOutline</name>
    <message>
        <source>Fonts: %1</source>
        <translation>Schriften: %1</translation>
    </message>
</context>
<context>
    <name>ProgramName</name>
    <message>
        <source>Glyphora</source>
        <translation>Glyphora</translation>
    </message>
</context>
<context>
    <name>ProgressWindow</name>
    <message>
        <source>Font Count</source>
        <translation>Anzahl</translation>
    </message>
    <message>
        <source>Font Name</source>
        <translation>Schriftname</translation>
    </message>
    <message>
        <source>Reading Fonts</source>
        <translation>Schriften werden gelesen</translation>
    </message>
    <message>
        <source>Printing Fonts</source>
        <translation>Schriften werden gedruckt</translation>
    </message>
    <message>
        <source>Font count</source>
        <translation>Anzahl der Schriften</translation>
    </message>
    <message>
        <source>Font being read or printed</source>
        <translation>Schrift, die gerade gelesen oder gedruckt wird</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Please Wait</source>
        <translation>Warten …</translation>
    </message>
</context>
<context>
    <name>SpoolFile</name>
    <message>
        <source>Cannot write a document in the folder &quot;%1&quot;</source>
        <translation>Im Ordner „%1“ kann kein Dokument geschrieben werden</translation>
    </message>
    <message>
        <source>Cannot write the document into the folder &quot;%1&quot;</source>
        <translation>Das Dokument kann nicht in den Ordner „%1“ geschrieben werden</translation>
    </message>
    <message>
        <source>Cannot save the document as &quot;%1&quot;</source>
        <translation>Das Dokument kann nicht als „%1“ gespeichert werden</translation>
    </message>
    <message>
        <source>Cannot find a free name for the document in the folder &quot;%1&quot;</source>
        <translation>Im Ordner „%1“ ist kein freier Name für das Dokument zu finden</translation>
    </message>
</context>
<context>
    <name>SystemPrinter</name>
    <message>
        <source>The printer has no font number %1; it has %2.</source>
        <translation>Der Drucker hat keine Schrift mit der Nummer %1; er hat %2.</translation>
    </message>
    <message>
        <source>The font size is not a number.</source>
        <translation>Die Schriftgröße ist keine Zahl.</translation>
    </message>
    <message>
        <source>The font size %1 is not a positive number of points.</source>
        <translation>Die Schriftgröße %1 ist keine positive Zahl von Punkten.</translation>
    </message>
    <message>
        <source>The printer has no font &quot;%1&quot;.</source>
        <translation>Der Drucker hat keine Schrift „%1“.</translation>
    </message>
</context>
<context>
    <name>SystemRuntime</name>
    <message>
        <source>its folder cannot be made</source>
        <translation>sein Ordner lässt sich nicht anlegen</translation>
    </message>
    <message>
        <source>the new file cannot be written</source>
        <translation>die neue Datei lässt sich nicht schreiben</translation>
    </message>
    <message>
        <source>the new file could not be written whole; the disk may be full</source>
        <translation>die neue Datei ließ sich nicht vollständig schreiben; der Datenträger ist vielleicht voll</translation>
    </message>
    <message>
        <source>The settings could not be stored in &quot;%1&quot;: %2.</source>
        <translation>Die Einstellungen konnten nicht in „%1“ gespeichert werden: %2.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Look at the fonts your printer offers and print a font sheet.</source>
        <translation>Sehen Sie sich die Schriften Ihres Druckers an und drucken Sie ein Schriftmusterblatt.</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>unerwartetes Argument „%1“</translation>
    </message>
    <message>
        <source>no display to show the window on (DISPLAY is not set)</source>
        <translation>keine Anzeige, auf der das Fenster erscheinen kann (DISPLAY ist nicht gesetzt)</translation>
    </message>
</context>
</TS>
