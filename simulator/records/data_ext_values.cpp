#include "simulator/records/data_ext_values.h"

#include "simulator/xml_writer.h"

namespace brennock::simulator {

void WriteDataExtensions(CompanyDb& company, std::string& out, std::string_view object_id,
                         const std::vector<std::string>& owner_ids) {
  XmlWriter w(out);
  for (const auto& owner : owner_ids) {
    auto& st = company.db().Prepare(
        "SELECT v.name, d.data_type, v.value FROM data_ext_values v JOIN data_ext_defs d "
        "ON d.owner_id=v.owner_id AND d.name=v.name WHERE v.object_id=? AND v.owner_id=? "
        "ORDER BY d.ext_id");
    st.Bind(1, object_id).Bind(2, owner);
    while (st.Step()) {
      w.Open("DataExtRet");
      w.Element("OwnerID", owner);
      w.Element("DataExtName", st.Text(0));
      w.Element("DataExtType", st.Text(1));
      w.Element("DataExtValue", st.Text(2));
      w.Close("DataExtRet");
    }
  }
}

}  // namespace brennock::simulator
