#include "convert/converter_test_support.h"

#include "common/paths.h"
#include "common/text_file.h"
#include "convert/converter.h"

namespace zelmar::convert::testing {

Session MakeSession(const std::string& dataFolder) {
    Session session;
    session.DataFolder = dataFolder;
    session.CurrentSlot = 1;
    RegisterData& reg = session.reg();
    reg.ModelCode = "RX";
    reg.ModelDescription = "ECR RX";
    reg.IsRtRegister = false;
    reg.SerialNumber = "99012345";
    reg.MaxOperator = 8;
    reg.DeptCount = 10;
    reg.DeptVat = {"22.00", "10.00", "4.00",  "5.00",  "0.00", "22.00",
                   "22.00", "22.00", "22.00", "22.00", "22.00"};
    reg.DeptNature = std::vector<int>(11, 0);
    return session;
}

JobOutcome ConvertJob(Session& session, const std::vector<std::string>& job, TraceSink* trace) {
    std::string path = JoinPath(session.DataFolder, "SR_DATI.001");
    WriteTextLines(path, job);
    RecordingTrace silent;
    silent.on = false;
    JobOutcome outcome;
    outcome.result = Converter(session, trace ? *trace : silent).ConvertJobFile(path);
    const std::string commandFile = JoinPath(session.DataFolder, kCommandFileName);
    outcome.commandFileExists = ReadTextLines(commandFile, outcome.commands);
    return outcome;
}

}  // namespace zelmar::convert::testing
