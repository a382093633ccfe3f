#pragma once

// What follows a removal that went ahead: the framework learns that the installation is gone,
// the product family's records of it are cleaned up and, with a user in front of the screen,
// the product's after-uninstall web page opens.
namespace AfterUninstall {

enum WebPage { OpenWebPage, NoWebPage };

void run(WebPage webPage);

} // namespace AfterUninstall
