<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>CheckCloseDlg</name>
    <message>
        <source>We found that the program has not been closed. Please close it before uninstalling.</source>
        <translation>Le programme est toujours ouvert. Veuillez le fermer avant de le désinstaller.</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Continuer</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Close this message without ending the program</source>
        <translation>Fermer ce message sans quitter le programme</translation>
    </message>
    <message>
        <source>End the running program and go on uninstalling</source>
        <translation>Quitter le programme en cours et poursuivre la désinstallation</translation>
    </message>
</context>
<context>
    <name>ClickedStackedWidget</name>
    <message>
        <source>Previous apps</source>
        <translation>Applications précédentes</translation>
    </message>
    <message>
        <source>Show the previous page of recommended apps</source>
        <translation>Afficher la page précédente des applications recommandées</translation>
    </message>
    <message>
        <source>Next apps</source>
        <translation>Applications suivantes</translation>
    </message>
    <message>
        <source>Show the next page of recommended apps</source>
        <translation>Afficher la page suivante des applications recommandées</translation>
    </message>
</context>
<context>
    <name>FrmInfo</name>
    <message>
        <source>1000+ Formats Supported</source>
        <translation>1000+ formats</translation>
    </message>
    <message>
        <source>120× Faster Conversion</source>
        <translation>Conversion 120× plus rapide</translation>
    </message>
    <message>
        <source>15+ Years History, 50 Million + Users</source>
        <translation>15+ ans d’expérience, 50 M+ d’utilisateurs</translation>
    </message>
</context>
<context>
    <name>FrmInfo2</name>
    <message>
        <source>More Powerful Features</source>
        <translation>Fonctions plus puissantes</translation>
    </message>
    <message>
        <source>A Smoother Experience</source>
        <translation>Expérience plus fluide</translation>
    </message>
    <message>
        <source>Faster Conversion</source>
        <translation>Conversion plus rapide</translation>
    </message>
</context>
<context>
    <name>FrmUser</name>
    <message>
        <source>50 Million + </source>
        <translation>50 millions+ </translation>
    </message>
    <message>
        <source>Users</source>
        <translation>d’utilisateurs</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Learn More</source>
        <translation>En savoir plus</translation>
    </message>
    <message>
        <source>Uninstallation completed! Looking forward to seeing you again!</source>
        <translation>Désinstallation terminée&#xa0;! Au plaisir de vous revoir&#xa0;!</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;We have provided data transfer services to over &lt;span style=&apos;font-weight:%1; color:%2;&apos;&gt;%3&lt;/span&gt; users&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Nous avons déjà assuré le transfert de données de plus de &lt;span style=&apos;font-weight:%1; color:%2;&apos;&gt;%3&lt;/span&gt; utilisateurs&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Uninstall %1</source>
        <translation>Désinstaller %1</translation>
    </message>
    <message>
        <source>Thank you for your use and feedback. Uninstalling...</source>
        <translation>Merci de votre fidélité et de vos commentaires. Désinstallation en cours…</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&apos;line-height: %1&apos;&gt;You can enjoy the largest discount ever &lt;span style=&apos;font-size:%4pt; font-weight:%2; color:%3;&apos;&gt;- %5% OFF&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&apos;line-height: %1&apos;&gt;Profitez de notre plus forte remise jamais proposée&#xa0;: &lt;span style=&apos;font-size:%4pt; font-weight:%2; color:%3;&apos;&gt;-%5%&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>The program&apos;s folder %1 could not be found.</source>
        <translation>Le dossier du programme %1 est introuvable.</translation>
    </message>
    <message>
        <source>The folder %1 does not look like an installation of %2, so it was left untouched.</source>
        <translation>Le dossier %1 ne ressemble pas à une installation de %2 ; il n&apos;a donc pas été modifié.</translation>
    </message>
    <message>
        <source>The program&apos;s folder %1 is a protected place of the system or of your own files, so it was left untouched.</source>
        <translation>Le dossier du programme %1 est un emplacement protégé du système ou de vos propres fichiers ; il n&apos;a donc pas été modifié.</translation>
    </message>
    <message>
        <source>None of its files could be removed: they are in use or you lack the permission. The list of what stayed is in %1.</source>
        <translation>Aucun de ses fichiers n&apos;a pu être supprimé : ils sont utilisés ou vous n&apos;en avez pas l&apos;autorisation. La liste de ce qui reste se trouve dans %1.</translation>
    </message>
    <message>
        <source>Nothing was removed.</source>
        <translation>Rien n&apos;a été supprimé.</translation>
    </message>
    <message>
        <source>Items that stayed behind: %1. The list is in %2.</source>
        <translation>Éléments restants : %1. La liste se trouve dans %2.</translation>
    </message>
</context>
<context>
    <name>RecFrame</name>
    <message>
        <source>Open the app&apos;s web page in your browser</source>
        <translation>Ouvrir la page web de l&apos;application dans votre navigateur</translation>
    </message>
    <message>
        <source>%1 about %2</source>
        <translation>%1 sur %2</translation>
    </message>
</context>
<context>
    <name>UnInstallWindow</name>
    <message>
        <source>Buy Now</source>
        <translation>Acheter</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Continuer</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Please leave your reason about why you want to uninstall it. We will make every effort to optimize the program.</source>
        <translation>Dites-nous pourquoi vous désinstallez le programme. Nous ferons tout notre possible pour l’améliorer.</translation>
    </message>
    <message>
        <source>Please leave your suggestions or questions (optional)</source>
        <translation>Vos suggestions ou questions (facultatif)</translation>
    </message>
    <message>
        <source>The latest version is faster and more stable</source>
        <translation>La dernière version est plus rapide et plus stable</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&apos;line-height: %1&apos;&gt;We found that your program is not the latest version. That may be the cause of the issue you are experiencing. Do you want to upgrade now?&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&apos;line-height: %1&apos;&gt;Votre programme n’est pas à jour, ce qui pourrait expliquer le problème que vous rencontrez. Voulez-vous le mettre à jour maintenant&#xa0;?&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Upgrade Now</source>
        <translation>Mettre à jour</translation>
    </message>
    <message>
        <source>More apps you may like:</source>
        <translation>D’autres applications qui pourraient vous plaire&#xa0;:</translation>
    </message>
    <message>
        <source>Uninstalling, please wait...</source>
        <translation>Désinstallation en cours, veuillez patienter…</translation>
    </message>
    <message>
        <source>Please leave your email address. We will contact you once the problem is solved.</source>
        <translation>Laissez-nous votre adresse e-mail. Nous vous contacterons dès que le problème sera résolu.</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>E-mail&#xa0;:</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Terminer</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Close the uninstall wizard</source>
        <translation>Fermer l&apos;assistant de désinstallation</translation>
    </message>
    <message>
        <source>Special offer</source>
        <translation>Offre spéciale</translation>
    </message>
    <message>
        <source>Picture of the current offer</source>
        <translation>Image de l&apos;offre en cours</translation>
    </message>
    <message>
        <source>Open the offer in your web browser</source>
        <translation>Ouvrir l&apos;offre dans votre navigateur web</translation>
    </message>
    <message>
        <source>Go on with the uninstallation</source>
        <translation>Poursuivre la désinstallation</translation>
    </message>
    <message>
        <source>Keep the program and close the wizard</source>
        <translation>Garder le programme et fermer l&apos;assistant</translation>
    </message>
    <message>
        <source>Reason for uninstalling</source>
        <translation>Raison de la désinstallation</translation>
    </message>
    <message>
        <source>Suggestions or questions</source>
        <translation>Suggestions ou questions</translation>
    </message>
    <message>
        <source>Optional note sent with your reasons</source>
        <translation>Note facultative envoyée avec vos raisons</translation>
    </message>
    <message>
        <source>Close the program if it is running and uninstall it</source>
        <translation>Fermer le programme s&apos;il est ouvert et le désinstaller</translation>
    </message>
    <message>
        <source>Install the latest version instead of uninstalling</source>
        <translation>Installer la dernière version au lieu de désinstaller</translation>
    </message>
    <message>
        <source>Uninstall progress</source>
        <translation>Progression de la désinstallation</translation>
    </message>
    <message>
        <source>Optional: we contact you once the problem is solved</source>
        <translation>Facultatif : nous vous contacterons dès que le problème sera résolu</translation>
    </message>
    <message>
        <source>Close the wizard</source>
        <translation>Fermer l&apos;assistant</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Langue</translation>
    </message>
    <message>
        <source>Ends the wizard; it starts in the chosen language next time</source>
        <translation>Ferme l&apos;assistant ; il s&apos;ouvrira dans la langue choisie la prochaine fois</translation>
    </message>
</context>
<context>
    <name>Uninstall</name>
    <message>
        <source>Continuing</source>
        <translation>En cours…</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Continuer</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Buy Now with &lt;span style=&quot;font-size:%1pt; font-weight:%2; color:%3;&quot;&gt;%4%&lt;/span&gt; OFF&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Achetez maintenant avec &lt;span style=&quot;font-size:%1pt; font-weight:%2; color:%3;&quot;&gt;%4%&lt;/span&gt; de remise&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
</TS>
