#pragma once

// Everything a client of Brennock needs. Subsystems add their public headers here. The simulated
// QuickBooks company is the default request processor without any include; a program that wants
// the simulator's own API (company files, its processor class) includes simulator/... itself.

#include "brennock/version.h"

// model
#include "brennock/enums/enum_types.h"
#include "brennock/enums/enum_value.h"
#include "brennock/enums/enumerations.h"
#include "brennock/enums/qc_enum.h"
#include "brennock/enums/qc_enum_value.h"
#include "brennock/enums/report_catalogue.h"
#include "brennock/enums/rpt_descriptor.h"
#include "brennock/errors/automation_error.h"
#include "brennock/errors/qc_error.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/errors/qo_enum_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/error_table.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/errors/value_errors.h"
#include "brennock/model/lists_registry.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/values/currency.h"
#include "brennock/values/date.h"
#include "brennock/values/variant.h"
#include "brennock/xml/xml_attributes.h"
#include "brennock/xml/xml_document.h"
#include "brennock/xml/xml_node.h"

// record protocol and list references
#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/model/field_table.h"
#include "brennock/internal/model/list_collection_core.h"
#include "brennock/internal/model/list_record_core.h"
#include "brennock/internal/model/record_base.h"
#include "brennock/internal/model/typed_list_collection.h"
#include "brennock/model/data_extension.h"
#include "brennock/model/qc_base.h"
#include "brennock/model/qc_event_sink.h"
#include "brennock/model/qc_list.h"
#include "brennock/model/qc_list_object.h"
#include "brennock/model/qc_list_object_ref.h"

// simple lists
#include "brennock/lists/credit_card.h"
#include "brennock/lists/currency_type.h"
#include "brennock/lists/customer.h"
#include "brennock/lists/hierarchical_lists.h"
#include "brennock/lists/named_lists.h"
#include "brennock/lists/payroll_items.h"
#include "brennock/lists/price_level.h"
#include "brennock/lists/sales_rep.h"
#include "brennock/lists/tax_codes.h"
#include "brennock/lists/template.h"
#include "brennock/lists/terms.h"
#include "brennock/lists/to_do.h"

// vendors, employees, other names and entities
#include "brennock/lists/employee.h"
#include "brennock/lists/entities.h"
#include "brennock/lists/other_name.h"
#include "brennock/lists/vendor.h"

// items of every kind
#include "brennock/items/items.h"

// transactions
#include "brennock/transactions/assembly_build.h"
#include "brennock/transactions/bill.h"
#include "brennock/transactions/bill_payment.h"
#include "brennock/transactions/card_txn.h"
#include "brennock/transactions/check.h"
#include "brennock/transactions/credit_memo.h"
#include "brennock/transactions/deposit.h"
#include "brennock/transactions/estimate.h"
#include "brennock/transactions/inventory_adjustment.h"
#include "brennock/transactions/invoice.h"
#include "brennock/transactions/journal_entry.h"
#include "brennock/transactions/journal_entry_line.h"
#include "brennock/transactions/purchase_order.h"
#include "brennock/transactions/receive_payment.h"
#include "brennock/transactions/sales_order.h"
#include "brennock/transactions/sales_receipt.h"
#include "brennock/transactions/sales_tax_payment_check.h"
#include "brennock/transactions/statement_charge.h"
#include "brennock/transactions/time_tracking.h"
#include "brennock/transactions/txn_expense_lines.h"
#include "brennock/transactions/txn_item_lines.h"
#include "brennock/transactions/undeposited_fund.h"
#include "brennock/transactions/vendor_credit.h"

// reports
#include "brennock/reports/report.h"
#include "brennock/reports/rpt_filters.h"
#include "brennock/reports/rpt_result.h"

// subscriptions and events
#include "brennock/events/event_listener.h"
#include "brennock/events/event_source.h"
#include "brennock/events/qb_event.h"
#include "brennock/events/subscription_collections.h"

// company and database export
#include "brennock/company/company.h"
#include "brennock/company/data_ext_assigned_tos.h"
#include "brennock/company/data_extension_definitions.h"
#include "brennock/company/deleted_items.h"
#include "brennock/company/field_readers.h"
#include "brennock/company/preferences.h"
#include "brennock/database/database_export.h"
#include "brennock/database/db_interface.h"
#include "brennock/database/sql_connection.h"
#include "brennock/internal/database/schema.h"
#include "brennock/internal/model/response_exporter.h"
#include "brennock/lists/account.h"
#include "brennock/lists/address.h"

// connection, session and global entry object
#include "brennock/company/brennock_globals.h"
#include "brennock/internal/session/session_checks.h"
#include "brennock/internal/session/version_check.h"
#include "brennock/session/qb_connection.h"

// request processors, request builder, session state and logging
#include "brennock/internal/session/data_ext_definition_source.h"
#include "brennock/internal/session/request_trace.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/session/app_data_folder.h"
#include "brennock/session/auth_preferences.h"
#include "brennock/session/log_file.h"
#include "brennock/session/processor_registry.h"
#include "brennock/session/remote_processor.h"
#include "brennock/session/request_processor.h"
#include "brennock/session/session_enums.h"
#include "brennock/session/xml_bldr.h"
