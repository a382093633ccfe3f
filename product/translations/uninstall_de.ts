<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>CheckCloseDlg</name>
    <message>
        <source>We found that the program has not been closed. Please close it before uninstalling.</source>
        <translation>Das Programm ist noch geöffnet. Bitte schließen Sie es vor der Deinstallation.</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Close this message without ending the program</source>
        <translation>Diese Meldung schließen, ohne das Programm zu beenden</translation>
    </message>
    <message>
        <source>End the running program and go on uninstalling</source>
        <translation>Das laufende Programm beenden und mit der Deinstallation fortfahren</translation>
    </message>
</context>
<context>
    <name>ClickedStackedWidget</name>
    <message>
        <source>Previous apps</source>
        <translation>Vorherige Apps</translation>
    </message>
    <message>
        <source>Show the previous page of recommended apps</source>
        <translation>Die vorherige Seite empfohlener Apps zeigen</translation>
    </message>
    <message>
        <source>Next apps</source>
        <translation>Nächste Apps</translation>
    </message>
    <message>
        <source>Show the next page of recommended apps</source>
        <translation>Die nächste Seite empfohlener Apps zeigen</translation>
    </message>
</context>
<context>
    <name>FrmInfo</name>
    <message>
        <source>1000+ Formats Supported</source>
        <translation>1000+ Formate</translation>
    </message>
    <message>
        <source>120× Faster Conversion</source>
        <translation>120× schnellere Konvertierung</translation>
    </message>
    <message>
        <source>15+ Years History, 50 Million + Users</source>
        <translation>15+ Jahre Erfahrung, 50 Mio.+ Nutzer</translation>
    </message>
</context>
<context>
    <name>FrmInfo2</name>
    <message>
        <source>More Powerful Features</source>
        <translation>Stärkere Funktionen</translation>
    </message>
    <message>
        <source>A Smoother Experience</source>
        <translation>Flüssigere Bedienung</translation>
    </message>
    <message>
        <source>Faster Conversion</source>
        <translation>Schnellere Konvertierung</translation>
    </message>
</context>
<context>
    <name>FrmUser</name>
    <message>
        <source>50 Million + </source>
        <translation>50 Mio.+ </translation>
    </message>
    <message>
        <source>Users</source>
        <translation>Nutzer</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Learn More</source>
        <translation>Mehr erfahren</translation>
    </message>
    <message>
        <source>Uninstallation completed! Looking forward to seeing you again!</source>
        <translation>Deinstallation abgeschlossen! Wir freuen uns auf ein Wiedersehen!</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;We have provided data transfer services to over &lt;span style=&apos;font-weight:%1; color:%2;&apos;&gt;%3&lt;/span&gt; users&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Wir haben bereits über &lt;span style=&apos;font-weight:%1; color:%2;&apos;&gt;%3&lt;/span&gt; Nutzern bei der Datenübertragung geholfen&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Uninstall %1</source>
        <translation>%1 deinstallieren</translation>
    </message>
    <message>
        <source>Thank you for your use and feedback. Uninstalling...</source>
        <translation>Vielen Dank für Ihre Treue und Ihr Feedback. Deinstallation läuft …</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&apos;line-height: %1&apos;&gt;You can enjoy the largest discount ever &lt;span style=&apos;font-size:%4pt; font-weight:%2; color:%3;&apos;&gt;- %5% OFF&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&apos;line-height: %1&apos;&gt;Sichern Sie sich unseren größten Rabatt aller Zeiten: &lt;span style=&apos;font-size:%4pt; font-weight:%2; color:%3;&apos;&gt;-%5%&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>The program&apos;s folder %1 could not be found.</source>
        <translation>Der Programmordner %1 wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The folder %1 does not look like an installation of %2, so it was left untouched.</source>
        <translation>Der Ordner %1 sieht nicht nach einer Installation von %2 aus und wurde daher nicht angetastet.</translation>
    </message>
    <message>
        <source>The program&apos;s folder %1 is a protected place of the system or of your own files, so it was left untouched.</source>
        <translation>Der Programmordner %1 ist ein geschützter Ort des Systems oder Ihrer eigenen Dateien und wurde daher nicht angetastet.</translation>
    </message>
    <message>
        <source>None of its files could be removed: they are in use or you lack the permission. The list of what stayed is in %1.</source>
        <translation>Keine seiner Dateien konnte entfernt werden: Sie werden verwendet, oder Ihnen fehlt die Berechtigung. Die Liste der verbliebenen Einträge steht in %1.</translation>
    </message>
    <message>
        <source>Nothing was removed.</source>
        <translation>Es wurde nichts entfernt.</translation>
    </message>
    <message>
        <source>Items that stayed behind: %1. The list is in %2.</source>
        <translation>Verbliebene Einträge: %1. Die Liste steht in %2.</translation>
    </message>
</context>
<context>
    <name>RecFrame</name>
    <message>
        <source>Open the app&apos;s web page in your browser</source>
        <translation>Die Webseite der App im Browser öffnen</translation>
    </message>
    <message>
        <source>%1 about %2</source>
        <translation>%1 über %2</translation>
    </message>
</context>
<context>
    <name>UnInstallWindow</name>
    <message>
        <source>Buy Now</source>
        <translation>Jetzt kaufen</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Please leave your reason about why you want to uninstall it. We will make every effort to optimize the program.</source>
        <translation>Bitte sagen Sie uns, warum Sie das Programm deinstallieren. Wir setzen alles daran, es zu verbessern.</translation>
    </message>
    <message>
        <source>Please leave your suggestions or questions (optional)</source>
        <translation>Ihre Vorschläge oder Fragen (optional)</translation>
    </message>
    <message>
        <source>The latest version is faster and more stable</source>
        <translation>Die neueste Version ist schneller und stabiler</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&apos;line-height: %1&apos;&gt;We found that your program is not the latest version. That may be the cause of the issue you are experiencing. Do you want to upgrade now?&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&apos;line-height: %1&apos;&gt;Ihr Programm ist nicht auf dem neuesten Stand. Das könnte die Ursache Ihres Problems sein. Möchten Sie jetzt aktualisieren?&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Upgrade Now</source>
        <translation>Jetzt aktualisieren</translation>
    </message>
    <message>
        <source>More apps you may like:</source>
        <translation>Weitere Apps, die Ihnen gefallen könnten:</translation>
    </message>
    <message>
        <source>Uninstalling, please wait...</source>
        <translation>Deinstallation läuft, bitte warten …</translation>
    </message>
    <message>
        <source>Please leave your email address. We will contact you once the problem is solved.</source>
        <translation>Hinterlassen Sie uns Ihre E-Mail-Adresse. Wir melden uns, sobald das Problem behoben ist.</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>E-Mail:</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Close the uninstall wizard</source>
        <translation>Den Deinstallationsassistenten schließen</translation>
    </message>
    <message>
        <source>Special offer</source>
        <translation>Sonderangebot</translation>
    </message>
    <message>
        <source>Picture of the current offer</source>
        <translation>Bild des aktuellen Angebots</translation>
    </message>
    <message>
        <source>Open the offer in your web browser</source>
        <translation>Das Angebot im Webbrowser öffnen</translation>
    </message>
    <message>
        <source>Go on with the uninstallation</source>
        <translation>Mit der Deinstallation fortfahren</translation>
    </message>
    <message>
        <source>Keep the program and close the wizard</source>
        <translation>Das Programm behalten und den Assistenten schließen</translation>
    </message>
    <message>
        <source>Reason for uninstalling</source>
        <translation>Grund für die Deinstallation</translation>
    </message>
    <message>
        <source>Suggestions or questions</source>
        <translation>Vorschläge oder Fragen</translation>
    </message>
    <message>
        <source>Optional note sent with your reasons</source>
        <translation>Optionale Notiz, die mit Ihren Gründen gesendet wird</translation>
    </message>
    <message>
        <source>Close the program if it is running and uninstall it</source>
        <translation>Das Programm schließen, falls es läuft, und es deinstallieren</translation>
    </message>
    <message>
        <source>Install the latest version instead of uninstalling</source>
        <translation>Statt zu deinstallieren die neueste Version installieren</translation>
    </message>
    <message>
        <source>Uninstall progress</source>
        <translation>Fortschritt der Deinstallation</translation>
    </message>
    <message>
        <source>Optional: we contact you once the problem is solved</source>
        <translation>Optional: Wir melden uns, sobald das Problem gelöst ist</translation>
    </message>
    <message>
        <source>Close the wizard</source>
        <translation>Den Assistenten schließen</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Ends the wizard; it starts in the chosen language next time</source>
        <translation>Beendet den Assistenten; beim nächsten Start erscheint er in der gewählten Sprache</translation>
    </message>
</context>
<context>
    <name>Uninstall</name>
    <message>
        <source>Continuing</source>
        <translation>Wird fortgesetzt …</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Buy Now with &lt;span style=&quot;font-size:%1pt; font-weight:%2; color:%3;&quot;&gt;%4%&lt;/span&gt; OFF&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Jetzt mit &lt;span style=&quot;font-size:%1pt; font-weight:%2; color:%3;&quot;&gt;%4%&lt;/span&gt; Rabatt kaufen&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
</TS>
