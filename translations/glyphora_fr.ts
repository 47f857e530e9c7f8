<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>Font sheet saved</source>
        <translation>Planche de polices enregistrée</translation>
    </message>
</context>
<context>
    <name>DocumentDelivery</name>
    <message>
        <source>There is no documents folder to save the document in.</source>
        <translation>Il n’y a pas de dossier de documents où enregistrer le document.</translation>
    </message>
    <message>
        <source>Cannot create the documents folder &quot;%1&quot;.</source>
        <translation>Impossible de créer le dossier de documents «&#xa0;%1&#xa0;».</translation>
    </message>
    <message>
        <source>Cannot print on &quot;%1&quot;: %2</source>
        <translation>Impossible d’imprimer sur «&#xa0;%1&#xa0;»&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>FontSheet</name>
    <message>
        <source>You must select at least one font before printing.  To select more than one font you can use the CTRL key.</source>
        <translation>Vous devez choisir au moins une police avant d’imprimer. Pour en choisir plusieurs, vous pouvez utiliser la touche Ctrl.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>An Error has occured.  Please notify the author.</source>
        <translation>Une erreur s’est produite. Veuillez prévenir l’auteur.</translation>
    </message>
    <message>
        <source>Glyphora Font Sheet %1</source>
        <translation>Planche de polices Glyphora du %1</translation>
    </message>
    <message>
        <source>Printing the %1 fonts you selected.</source>
        <translation>Polices à imprimer&#xa0;: %1</translation>
    </message>
    <message>
        <source>Finishing the sheet… %1%</source>
        <translation>Finalisation de la planche… %1 %</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Font Not Available</source>
        <translation>Police non disponible</translation>
    </message>
    <message>
        <source>Sample</source>
        <translation>Exemple</translation>
    </message>
    <message>
        <source>Print Size</source>
        <translation>Papier</translation>
    </message>
    <message>
        <source>All Available Fonts</source>
        <translation>Polices disponibles</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>Écran</translation>
    </message>
    <message>
        <source>Print Fonts</source>
        <translation>Imprimer</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Tout choisir</translation>
    </message>
    <message>
        <source>Deselect All</source>
        <translation>Tout retirer</translation>
    </message>
    <message>
        <source>Use Font Name as Sample Text</source>
        <translation>Nom de la police comme exemple</translation>
    </message>
    <message>
        <source>Use User Defined Text as Sample Text</source>
        <translation>Texte personnel comme exemple</translation>
    </message>
    <message>
        <source>User Defined Text</source>
        <translation>Texte personnel</translation>
    </message>
    <message>
        <source>Printer Only Font</source>
        <translation>Police de l’imprimante</translation>
    </message>
</context>
<context>
    <name>PartFonts</name>
    <message>
        <source>Font Not Available</source>
        <translation>Police non disponible</translation>
    </message>
</context>
<context>
    <name>PdfDocument</name>
    <message>
        <source>Cannot write a document in the folder &quot;%1&quot;: %2</source>
        <translation>Impossible d’écrire un document dans le dossier «&#xa0;%1&#xa0;»&#xa0;: %2</translation>
    </message>
    <message>
        <source>Cannot start a document for the printer.</source>
        <translation>Impossible de commencer un document pour l’imprimante.</translation>
    </message>
    <message>
        <source>Cannot write the document into the folder &quot;%1&quot;: %2</source>
        <translation>Impossible d’écrire le document dans le dossier «&#xa0;%1&#xa0;»&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>PdfJoining</name>
    <message>
        <source>Cannot put the document together: %1</source>
        <translation>Impossible d’assembler le document : %1</translation>
    </message>
</context>
<context>
    <name>PdfOutline</name>
    <message>
        <source>Fonts: %1</source>
        <translation>Polices : %1</translation>
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
        <translation>Décompte</translation>
    </message>
    <message>
        <source>Font Name</source>
        <translation>Nom de la police</translation>
    </message>
    <message>
        <source>Reading Fonts</source>
        <translation>Lecture des polices</translation>
    </message>
    <message>
        <source>Printing Fonts</source>
        <translation>Impression des polices</translation>
    </message>
    <message>
        <source>Font count</source>
        <translation>Nombre de polices</translation>
    </message>
    <message>
        <source>Font being read or printed</source>
        <translation>Police en cours de lecture ou d’impression</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>Please Wait</source>
        <translation>Patientez</translation>
    </message>
</context>
<context>
    <name>SpoolFile</name>
    <message>
        <source>Cannot write a document in the folder &quot;%1&quot;</source>
        <translation>Impossible d’écrire un document dans le dossier «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>Cannot write the document into the folder &quot;%1&quot;</source>
        <translation>Impossible d’écrire le document dans le dossier «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>Cannot save the document as &quot;%1&quot;</source>
        <translation>Impossible d’enregistrer le document sous «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>Cannot find a free name for the document in the folder &quot;%1&quot;</source>
        <translation>Aucun nom libre pour le document dans le dossier «&#xa0;%1&#xa0;»</translation>
    </message>
</context>
<context>
    <name>SystemPrinter</name>
    <message>
        <source>The printer has no font number %1; it has %2.</source>
        <translation>L’imprimante n’a pas de police numéro %1&#xa0;; elle en a %2.</translation>
    </message>
    <message>
        <source>The font size is not a number.</source>
        <translation>La taille de police n’est pas un nombre.</translation>
    </message>
    <message>
        <source>The font size %1 is not a positive number of points.</source>
        <translation>La taille de police %1 n’est pas un nombre de points positif.</translation>
    </message>
    <message>
        <source>The printer has no font &quot;%1&quot;.</source>
        <translation>L’imprimante n’a pas de police «&#xa0;%1&#xa0;».</translation>
    </message>
</context>
<context>
    <name>SystemRuntime</name>
    <message>
        <source>its folder cannot be made</source>
        <translation>son dossier ne peut pas être créé</translation>
    </message>
    <message>
        <source>the new file cannot be written</source>
        <translation>le nouveau fichier ne peut pas être écrit</translation>
    </message>
    <message>
        <source>the new file could not be written whole; the disk may be full</source>
        <translation>le nouveau fichier n’a pas pu être écrit en entier&#xa0;; le disque est peut-être plein</translation>
    </message>
    <message>
        <source>The settings could not be stored in &quot;%1&quot;: %2.</source>
        <translation>Les réglages n’ont pas pu être enregistrés dans «&#xa0;%1&#xa0;»&#xa0;: %2.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Look at the fonts your printer offers and print a font sheet.</source>
        <translation>Découvrez les polices de votre imprimante et imprimez-en une planche.</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>argument inattendu «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>no display to show the window on (DISPLAY is not set)</source>
        <translation>aucun écran où afficher la fenêtre (DISPLAY n’est pas défini)</translation>
    </message>
</context>
</TS>
