#pragma once

#include <string>
#include <string_view>

#include "simulator/store/company_db.h"

namespace brennock::simulator {

// What happened to a stored record.
enum class RecordOperation { kAdd, kModify, kDelete, kVoid, kMerge };

// The hook every handler that changes a list record or a transaction calls once the change has
// succeeded, inside the request's transaction (the request document's SAVEPOINT): each subscriber
// whose data event subscription asked for the type and operation gets one DataEvent in the
// company file's event queue, written in that same transaction, so a change that is rolled back
// raises nothing and a committed one is never lost. Whichever process made the change, the
// subscriber's listener finds the event in the file.
//
// QuickBooks reports a void as a Modify of the transaction, and merges of list records only (a
// transaction "merge" raises nothing). Costs one indexed lookup when nobody subscribed.
//
// type is the qbXML object name ("Customer", "ItemService", "StandardTerms", "Invoice",
// "BillPaymentCheck" ...); whether it is a list or a transaction event comes from the qbXML
// catalogue's ListEventType and TxnEventType values, and a type in neither raises nothing. id is
// the ListID or TxnID, ref_number a transaction's RefNumber (when it has one), merged_into the
// ListID of the record a merge kept.
void RecordChanged(CompanyDb& company, std::string_view type, RecordOperation operation,
                   std::string_view id, std::string_view ref_number = {},
                   std::string_view merged_into = {});

// UIEvents of subscribers to company file events: the file was opened (a session began) or
// closed (it ended). Written in a transaction of their own; nothing on a read-only file.
void CompanyFileOpened(CompanyDb& company);
void CompanyFileClosed(CompanyDb& company);

// The user chose a menu item an application added: "Customers:Send to CRM" (menu, item text) or,
// for an item in an application's submenu, "Customers:My App:Send to CRM". Each subscription
// with that item gets a UIExtensionEvent with the item's EventTag. Returns how many were queued.
int ChooseMenuItem(CompanyDb& company, std::string_view menu_path);
// The same on a company file by its path.
int ChooseMenuItem(const std::string& company_path, std::string_view menu_path);

}  // namespace brennock::simulator
