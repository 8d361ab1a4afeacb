#include "app/ErrorBox.h"

#include "app/Look.h"
#include "platform/CodePage.h"
#include "platform/Dialogs.h"

namespace app {

void ShowError(const std::exception& error) {
    platform::Dialogs().messageBox(kApplicationTitle.toStdU16String(),
                                   platform::Utf8ToUtf16(error.what()),
                                   platform::MessageIcon::Error);
}

}  // namespace app
