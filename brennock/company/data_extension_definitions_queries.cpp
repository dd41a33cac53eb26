// Reading definitions: QuickBooks queries, the database export of their responses, the answers
// to a commit, and the definition files written by SaveToXml.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "brennock/company/data_extension_definitions.h"
#include "brennock/enums/enumeration_type.h"
#include "brennock/enums/enumerations.h"
#include "brennock/enums/qc_enum.h"
#include "brennock/enums/qc_enum_value.h"
#include "brennock/errors/automation_error.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/binding.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/model/response_exporter.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_attributes.h"
#include "brennock/xml/xml_document.h"
#include "brennock/xml/xml_node.h"

namespace brennock {
namespace {

constexpr std::string_view kTable = "DataExtDef";

// A query answers with DataExtDefRet; a saved file holds the DataExtDefAdd of each add request.
// Both carry the same fields in the same order.
bool IsDefinition(std::string_view name) {
  return name == "DataExtDefRet" || name == "DataExtDefAdd";
}

// Reads definition aggregates. The type texts of one response repeat ("Customer", "STR255TYPE"),
// so each is looked up in the enumeration tables once.
class DefinitionReader {
 public:
  std::shared_ptr<DataExtensionDefinition> Read(const XmlNode& element) {
    ElementTree tree(element);
    return Read(tree.Root());
  }

  std::shared_ptr<DataExtensionDefinition> Read(const FieldElement& element) {
    Fields fields;
    fields.reader = this;
    Table().Read(fields, element);
    auto definition = std::make_shared<DataExtensionDefinition>(
        std::move(fields.name), std::move(fields.ownerID), fields.type);
    definition->AssignedTos()->Replace(std::move(fields.assigned));
    definition->MarkClean();
    return definition;
  }

  // The definitions of a message set: those inside its request or response elements, and any
  // standing directly in it.
  DataExtensionDefinitions::Members ReadMessageSet(const XmlNode& messageSet) {
    DataExtensionDefinitions::Members read;
    if (!messageSet) return read;
    ElementTree tree(messageSet);
    for (FieldElement element : tree.Root().Children()) {
      if (IsDefinition(element.baseName())) {
        read.push_back(Read(element));
        continue;
      }
      for (FieldElement inner : element.Children())
        if (IsDefinition(inner.baseName())) read.push_back(Read(inner));
    }
    return read;
  }

 private:
  // A definition as it is read, before it is made.
  struct Fields {
    DefinitionReader* reader = nullptr;
    std::string ownerID;
    std::string name;
    qbEnumDataExtDataType type = qbDataExtTypeSTR255TYPE;
    std::vector<qoEnumListObjectType> assigned;
  };
  struct KnownText {
    qoEnumerationType table;
    std::string text;
    int32_t code;
  };

  static const BindingTable<Fields>& Table() {
    using F = Fields;
    BRENNOCK_BINDINGS(
        F, std::array{Bind<&F::ownerID, codecs::Text, F>("OwnerID", kInRet),
                      Bind<&F::name, codecs::Text, F>("DataExtName", kInRet),
                      Binding<F>{"DataExtType", kInRet,
                                 [](F& f, const FieldElement& x) {
                                   f.type = static_cast<qbEnumDataExtDataType>(
                                       f.reader->Code(x.text(), qoeDataExtDataTypes));
                                 }},
                      Binding<F>{"AssignToObject", kInRet, [](F& f, const FieldElement& x) {
                                   f.assigned.push_back(static_cast<qoEnumListObjectType>(
                                       f.reader->Code(x.text(), qoeObjectType)));
                                 }}});
  }

  // The Code of the table entry whose qbXML text is `text` (1008 when none).
  int32_t Code(std::string text, qoEnumerationType table) {
    for (const KnownText& known : known_)
      if (known.table == table && known.text == text) return known.code;
    int32_t code = codecs::detail::CodeOfTag(table, text);
    known_.push_back({table, std::move(text), code});
    return code;
  }

  std::vector<KnownText> known_;
};

XmlNode FirstElementChild(const XmlNode& node) {
  for (const XmlNode& child : node.childNodes())
    if (child.nodeType() == NODE_ELEMENT) return child;
  return {};
}

int32_t NumericAttribute(const XmlNode& element, const char* name) {
  return ModConvertDtypes::TextToInt32(element.attributes().getNamedItem(name).text());
}

[[noreturn]] void RaiseUnreadableFile(const std::string& path, std::string_view why) {
  std::string description = "Cannot load data extension definitions from '";
  description.append(path).append("': ").append(why);
  RaiseGeneral(kTable, std::move(description));
}

}  // namespace

int32_t DataExtensionDefinitions::GetBy(std::optional<qoEnumListObjectType> AssignedToObject,
                                        const std::optional<std::string>& OwnerId,
                                        const std::string& sMDBPath) {
  std::string assignedTag;
  if (!OwnerId && AssignedToObject) {
    // Resolved first, so an unknown type raises before the collection changes.
    EnumCodeToText(qoeObjectType, static_cast<int16_t>(*AssignedToObject));
    assignedTag = EnumCodeToXmlText(qoeObjectType, static_cast<int16_t>(*AssignedToObject));
  }
  // A collection without an owner belongs to the owner it is first asked for.
  if (OwnerId && ownerID_.empty()) ownerID_ = *OwnerId;
  members_.clear();
  errors_.Clear();
  xmlBldr& builder = Builder();
  std::shared_ptr<XmlDocument> response;
  try {
    builder.NewClear();
    builder.OpenAggregateOnly("DataExtDefQueryRq");
    if (OwnerId) {
      builder.CreateElement("OwnerID", *OwnerId);
    } else if (AssignedToObject) {
      builder.CreateElement("AssignToObject", assignedTag);
    }
    builder.EndAggregate("DataExtDefQueryRq");
    response = builder.NewSendRequest();
  } catch (const AutomationError& error) {
    // A query never raises: a failed send is filed with the number and message the builder kept.
    errors_.Add(error.Number(), "", error.Description());
    return Count();
  }
  if (builder.ErrNumber() != 0) {
    errors_.Add(builder.ErrNumber(), "", builder.ErrMsg());
    return Count();
  }
  if (!sMDBPath.empty()) {
    ExportResponse(*response, sMDBPath);
    return Count();
  }
  members_ = DefinitionReader().ReadMessageSet(response->documentElement().childNodes().item(0));
  return Count();
}

int32_t DataExtensionDefinitions::GetByOwner(const std::string& OwnerId,
                                             const std::string& sMDBPath) {
  return GetBy(std::nullopt, OwnerId, sMDBPath);
}

int32_t DataExtensionDefinitions::GetByAssignedToObject(qoEnumListObjectType AssignedToObject,
                                                        const std::string& sMDBPath) {
  return GetBy(AssignedToObject, std::nullopt, sMDBPath);
}

int32_t DataExtensionDefinitions::GetAll(const std::string& sMDBPath) {
  return GetBy(std::nullopt, std::nullopt, sMDBPath);
}

void DataExtensionDefinitions::ExportResponse(const XmlDocument& response,
                                              const std::string& sMDBPath) {
  std::shared_ptr<ResponseExporter> exporter = RegisteredResponseExporter();
  if (!exporter) {
    errors_.Add(ErrorNumber(errGeneral), "", std::string(kNoResponseExporter));
    return;
  }
  exporter->ExportResponse(response, qoObjectTypeDataExtDef, kTable, sMDBPath);
}

void DataExtensionDefinitions::FileCommitResponses(
    const XmlDocument& response,
    const std::vector<std::pair<int32_t, DataExtensionDefinition*>>& sent) {
  XmlNode messageSet = response.documentElement().childNodes().item(0);
  for (const XmlNode& element : messageSet.childNodes()) {
    if (element.nodeType() != NODE_ELEMENT) continue;
    int32_t requestId = NumericAttribute(element, "requestID");
    auto found = std::lower_bound(sent.begin(), sent.end(), requestId,
                                  [](const auto& entry, int32_t id) { return entry.first < id; });
    // A response to no request of this commit has nobody to file it for.
    if (found == sent.end() || found->first != requestId) continue;
    DataExtensionDefinition& definition = *found->second;
    int32_t code = NumericAttribute(element, "statusCode");
    if (code == 0) {
      // QuickBooks answers with the definition as it saved it.
      for (const XmlNode& ret : element.childNodes())
        if (ret.nodeType() == NODE_ELEMENT && ret.baseName() == "DataExtDefRet") {
          definition.TakeSavedFields(*DefinitionReader().Read(ret));
          break;
        }
      definition.MarkClean();
    } else {
      AddCommitStatusErrors(errors_, definition.Errors(), definition.CollectionKey(), code,
                            element.attributes().getNamedItem("statusMessage").text());
    }
  }
}

void DataExtensionDefinitions::SaveToXml(const std::string& FilePath) {
  xmlBldr& builder = Builder();
  builder.IOClear();
  int32_t position = 0;
  for (const auto& member : members_) member->WriteAddRequest(builder, ++position);
  builder.SaveToFile(FilePath);
}

void DataExtensionDefinitions::LoadFromXml(const std::string& FilePath) {
  std::error_code ignored;
  if (!std::filesystem::exists(FilePath, ignored))
    RaiseUnreadableFile(FilePath, "there is no such file");
  if (!std::filesystem::is_regular_file(FilePath, ignored) || !std::ifstream(FilePath))
    RaiseUnreadableFile(FilePath, "it cannot be read as a file");
  std::shared_ptr<XmlDocument> document = Builder().ReadXml(FilePath);
  // The root is found by name, not position: a header with a DOCTYPE puts it second or third.
  XmlNode root = document->documentElement();
  if (!root) {
    XmlParseError error = document->parseError();
    std::string why = error.reason.empty() ? "it is not an XML document" : error.reason;
    if (error.filepos >= 0) why.append(" at byte ").append(std::to_string(error.filepos));
    RaiseUnreadableFile(FilePath, why);
  }
  std::string rootName = root.baseName();
  if (rootName != "Brennock" && rootName != "QBXML")
    RaiseUnreadableFile(FilePath, "its root element is " + rootName + ", not Brennock or QBXML");
  // Read completely before the members are replaced, so a bad entry loses nothing.
  Members read = DefinitionReader().ReadMessageSet(FirstElementChild(root));
  members_ = std::move(read);
}

}  // namespace brennock
