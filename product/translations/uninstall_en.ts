<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>CheckCloseDlg</name>
    <message>
        <source>We found that the program has not been closed. Please close it before uninstalling.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Continue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close this message without ending the program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>End the running program and go on uninstalling</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ClickedStackedWidget</name>
    <message>
        <source>Previous apps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the previous page of recommended apps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next apps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the next page of recommended apps</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FrmInfo</name>
    <message>
        <source>1000+ Formats Supported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>120× Faster Conversion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>15+ Years History, 50 Million + Users</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FrmInfo2</name>
    <message>
        <source>More Powerful Features</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A Smoother Experience</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Faster Conversion</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FrmUser</name>
    <message>
        <source>50 Million + </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Users</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Learn More</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uninstallation completed! Looking forward to seeing you again!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;We have provided data transfer services to over &lt;span style=&apos;font-weight:%1; color:%2;&apos;&gt;%3&lt;/span&gt; users&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uninstall %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thank you for your use and feedback. Uninstalling...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&apos;line-height: %1&apos;&gt;You can enjoy the largest discount ever &lt;span style=&apos;font-size:%4pt; font-weight:%2; color:%3;&apos;&gt;- %5% OFF&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The program&apos;s folder %1 could not be found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder %1 does not look like an installation of %2, so it was left untouched.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The program&apos;s folder %1 is a protected place of the system or of your own files, so it was left untouched.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None of its files could be removed: they are in use or you lack the permission. The list of what stayed is in %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing was removed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Items that stayed behind: %1. The list is in %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RecFrame</name>
    <message>
        <source>Open the app&apos;s web page in your browser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 about %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UnInstallWindow</name>
    <message>
        <source>Buy Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Continue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please leave your reason about why you want to uninstall it. We will make every effort to optimize the program.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please leave your suggestions or questions (optional)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The latest version is faster and more stable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&apos;line-height: %1&apos;&gt;We found that your program is not the latest version. That may be the cause of the issue you are experiencing. Do you want to upgrade now?&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More apps you may like:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uninstalling, please wait...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please leave your email address. We will contact you once the problem is solved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Email:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close the uninstall wizard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Special offer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Picture of the current offer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the offer in your web browser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go on with the uninstallation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep the program and close the wizard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reason for uninstalling</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Suggestions or questions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Optional note sent with your reasons</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close the program if it is running and uninstall it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Install the latest version instead of uninstalling</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uninstall progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Optional: we contact you once the problem is solved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close the wizard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ends the wizard; it starts in the chosen language next time</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Uninstall</name>
    <message>
        <source>Continuing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Continue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Buy Now with &lt;span style=&quot;font-size:%1pt; font-weight:%2; color:%3;&quot;&gt;%4%&lt;/span&gt; OFF&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
