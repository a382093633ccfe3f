<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>CheckCloseDlg</name>
    <message>
        <source>We found that the program has not been closed. Please close it before uninstalling.</source>
        <translation>检测到程序尚未关闭，请先关闭程序再进行卸载。</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>继续</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Close this message without ending the program</source>
        <translation>关闭此消息，不结束程序</translation>
    </message>
    <message>
        <source>End the running program and go on uninstalling</source>
        <translation>结束正在运行的程序并继续卸载</translation>
    </message>
</context>
<context>
    <name>ClickedStackedWidget</name>
    <message>
        <source>Previous apps</source>
        <translation>上一页应用</translation>
    </message>
    <message>
        <source>Show the previous page of recommended apps</source>
        <translation>显示上一页推荐应用</translation>
    </message>
    <message>
        <source>Next apps</source>
        <translation>下一页应用</translation>
    </message>
    <message>
        <source>Show the next page of recommended apps</source>
        <translation>显示下一页推荐应用</translation>
    </message>
</context>
<context>
    <name>FrmInfo</name>
    <message>
        <source>1000+ Formats Supported</source>
        <translation>支持 1000+ 种格式</translation>
    </message>
    <message>
        <source>120× Faster Conversion</source>
        <translation>转换速度提升 120 倍</translation>
    </message>
    <message>
        <source>15+ Years History, 50 Million + Users</source>
        <translation>15 年以上历史，5000 万+ 用户</translation>
    </message>
</context>
<context>
    <name>FrmInfo2</name>
    <message>
        <source>More Powerful Features</source>
        <translation>功能更强大</translation>
    </message>
    <message>
        <source>A Smoother Experience</source>
        <translation>体验更流畅</translation>
    </message>
    <message>
        <source>Faster Conversion</source>
        <translation>转换更快速</translation>
    </message>
</context>
<context>
    <name>FrmUser</name>
    <message>
        <source>50 Million + </source>
        <translation>5000 万+ </translation>
    </message>
    <message>
        <source>Users</source>
        <translation>用户</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Learn More</source>
        <translation>了解更多</translation>
    </message>
    <message>
        <source>Uninstallation completed! Looking forward to seeing you again!</source>
        <translation>卸载完成！期待与您再次相见！</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;We have provided data transfer services to over &lt;span style=&apos;font-weight:%1; color:%2;&apos;&gt;%3&lt;/span&gt; users&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;我们已为超过 &lt;span style=&apos;font-weight:%1; color:%2;&apos;&gt;%3&lt;/span&gt; 用户提供数据传输服务&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Uninstall %1</source>
        <translation>卸载 %1</translation>
    </message>
    <message>
        <source>Thank you for your use and feedback. Uninstalling...</source>
        <translation>感谢您的使用与反馈。正在卸载……</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&apos;line-height: %1&apos;&gt;You can enjoy the largest discount ever &lt;span style=&apos;font-size:%4pt; font-weight:%2; color:%3;&apos;&gt;- %5% OFF&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&apos;line-height: %1&apos;&gt;尽享史上最大折扣 &lt;span style=&apos;font-size:%4pt; font-weight:%2; color:%3;&apos;&gt;立减 %5%&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>The program&apos;s folder %1 could not be found.</source>
        <translation>找不到程序文件夹 %1。</translation>
    </message>
    <message>
        <source>The folder %1 does not look like an installation of %2, so it was left untouched.</source>
        <translation>文件夹 %1 看起来不是 %2 的安装位置，因此未做任何改动。</translation>
    </message>
    <message>
        <source>The program&apos;s folder %1 is a protected place of the system or of your own files, so it was left untouched.</source>
        <translation>程序文件夹 %1 是系统或您个人文件的受保护位置，因此未做任何改动。</translation>
    </message>
    <message>
        <source>None of its files could be removed: they are in use or you lack the permission. The list of what stayed is in %1.</source>
        <translation>无法删除其中任何文件：文件正在使用中，或您没有权限。保留内容的列表位于 %1。</translation>
    </message>
    <message>
        <source>Nothing was removed.</source>
        <translation>未删除任何内容。</translation>
    </message>
    <message>
        <source>Items that stayed behind: %1. The list is in %2.</source>
        <translation>保留的项目：%1。列表位于 %2。</translation>
    </message>
</context>
<context>
    <name>RecFrame</name>
    <message>
        <source>Open the app&apos;s web page in your browser</source>
        <translation>在浏览器中打开该应用的网页</translation>
    </message>
    <message>
        <source>%1 about %2</source>
        <translation>%1：%2</translation>
    </message>
</context>
<context>
    <name>UnInstallWindow</name>
    <message>
        <source>Buy Now</source>
        <translation>立即购买</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>继续</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Please leave your reason about why you want to uninstall it. We will make every effort to optimize the program.</source>
        <translation>请告诉我们您卸载的原因，我们将尽全力优化程序。</translation>
    </message>
    <message>
        <source>Please leave your suggestions or questions (optional)</source>
        <translation>请留下您的建议或问题（选填）</translation>
    </message>
    <message>
        <source>The latest version is faster and more stable</source>
        <translation>最新版本更快、更稳定</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&apos;line-height: %1&apos;&gt;We found that your program is not the latest version. That may be the cause of the issue you are experiencing. Do you want to upgrade now?&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p style=&apos;line-height: %1&apos;&gt;检测到您的程序不是最新版本，这可能是您遇到问题的原因。是否立即升级？&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Upgrade Now</source>
        <translation>立即升级</translation>
    </message>
    <message>
        <source>More apps you may like:</source>
        <translation>您可能还喜欢：</translation>
    </message>
    <message>
        <source>Uninstalling, please wait...</source>
        <translation>正在卸载，请稍候……</translation>
    </message>
    <message>
        <source>Please leave your email address. We will contact you once the problem is solved.</source>
        <translation>请留下您的邮箱地址，问题解决后我们会第一时间联系您。</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>邮箱：</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Close the uninstall wizard</source>
        <translation>关闭卸载向导</translation>
    </message>
    <message>
        <source>Special offer</source>
        <translation>特别优惠</translation>
    </message>
    <message>
        <source>Picture of the current offer</source>
        <translation>当前优惠的图片</translation>
    </message>
    <message>
        <source>Open the offer in your web browser</source>
        <translation>在网页浏览器中打开优惠</translation>
    </message>
    <message>
        <source>Go on with the uninstallation</source>
        <translation>继续卸载</translation>
    </message>
    <message>
        <source>Keep the program and close the wizard</source>
        <translation>保留程序并关闭向导</translation>
    </message>
    <message>
        <source>Reason for uninstalling</source>
        <translation>卸载原因</translation>
    </message>
    <message>
        <source>Suggestions or questions</source>
        <translation>建议或问题</translation>
    </message>
    <message>
        <source>Optional note sent with your reasons</source>
        <translation>随卸载原因一起发送的可选备注</translation>
    </message>
    <message>
        <source>Close the program if it is running and uninstall it</source>
        <translation>如果程序正在运行则将其关闭，然后卸载</translation>
    </message>
    <message>
        <source>Install the latest version instead of uninstalling</source>
        <translation>安装最新版本而不是卸载</translation>
    </message>
    <message>
        <source>Uninstall progress</source>
        <translation>卸载进度</translation>
    </message>
    <message>
        <source>Optional: we contact you once the problem is solved</source>
        <translation>可选：问题解决后我们会联系您</translation>
    </message>
    <message>
        <source>Close the wizard</source>
        <translation>关闭向导</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>Ends the wizard; it starts in the chosen language next time</source>
        <translation>结束向导；下次启动时将使用所选语言</translation>
    </message>
</context>
<context>
    <name>Uninstall</name>
    <message>
        <source>Continuing</source>
        <translation>正在继续…</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>继续</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Buy Now with &lt;span style=&quot;font-size:%1pt; font-weight:%2; color:%3;&quot;&gt;%4%&lt;/span&gt; OFF&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;立即购买，立减 &lt;span style=&quot;font-size:%1pt; font-weight:%2; color:%3;&quot;&gt;%4%&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
</TS>
