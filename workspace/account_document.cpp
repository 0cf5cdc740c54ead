#include "workspace/account_document.h"

#include "accounts/account_read.h"
#include "accounts/account_write.h"

namespace tavo {

bool AccountDocument::load(Ui& ui) {
    return load_account(app_, ui, table_);
}

bool AccountDocument::save(Ui& ui) {
    return save_account(app_, ui, table_);
}

}  // namespace tavo
