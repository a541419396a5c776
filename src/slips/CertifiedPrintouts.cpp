// The certified-software identification printouts.
#include "slips/CertifiedPrintouts.h"

#include <exception>

#include "connection/GrandTotalGuard.h"
#include "driver/DataModule.h"
#include "external/hostlib/Dialogs.h"
#include "external/hostlib/HostLib.h"
#include "framework/ClientDataSet.h"
#include "framework/Cp1252.h"
#include "framework/DateFormat.h"
#include "framework/DateTime.h"
#include "framework/Text.h"
#include "nonfiscal/Ledger.h"
#include "nonfiscal/LinkedSlips.h"
#include "nonfiscal/ManagementReports.h"
#include "platform/Platform.h"
#include "slips/AccountText.h"

namespace Orb00100 {

namespace {

using namespace slips;
using orb::fw::ClientDataSet;
using orb::hostlib::PadL;
using orb::hostlib::PadR;

std::string Param(std::span<const orb::fw::Variant> params, std::size_t index) {
    return index < params.size() ? params[index].ToString() : std::string();
}

std::string Deciphered(ClientDataSet& table, const char* field) {
    return orb::hostlib::Uncripto(table.FieldByName(field).AsString(), kSeletorCripto);
}

std::string HostFile(const std::string& name) { return orb::platform::HostDirectory() + "\\" + name; }

void Print(const std::string& scheme, const std::string& text) { Usa_CompNFis(scheme, text); }

// The identification lines down to the version.
void PrintIdentification(const std::string& scheme, ClientDataSet& paf) {
    const std::string separator = Dashes();
    Print(scheme, "\n");
    Print(scheme, CP("          Identificação do Paf-Ecf\n"));
    Print(scheme, separator + "\n\n");
    Print(scheme, CP("Data Emissão: ") + NowText() + "\n\n");
    Print(scheme, "Nr do Laudo :  " + Deciphered(paf, "NRLAUDO") + "\n\n");
    Print(scheme, CP("Identificação da Empresa: \n"));
    Print(scheme, separator + "\n\n");
    Print(scheme, "CNPJ         : " + Deciphered(paf, "NRCNPJCORVANE") + "\n");
    Print(scheme, CP("Razão Social : ") + Deciphered(paf, "DSRAZAOSOCICORVANE") + "\n");
    Print(scheme, CP("Endereço     : ") + Deciphered(paf, "DSENDECORVANE") + "\n");
    Print(scheme, "Telefone     : " + Deciphered(paf, "DSTELEFONECORVANE") + "\n");
    Print(scheme, "Contato      : " + Deciphered(paf, "NMRESPONSIST") + "\n\n");
    Print(scheme, CP("Identificação PAF-ECF: \n"));
    Print(scheme, "Nome Comercial: " + Deciphered(paf, "DSNOMECOMERCIAL") + "\n");
    Print(scheme, CP("Versão        : ") + Deciphered(paf, "DSVERSAOTAMBORA") + "\n\n");
}

// The main executable and the digest list. Without the list the digests print empty rather
// than stopping the printout halfway.
void PrintFiles(const std::string& scheme, ClientDataSet& paf, ClientDataSet& digests) {
    const std::string listFile = HostFile("Dados\\Cadastros\\ArquivosZepMd5.cds");
    const bool haveList = orb::platform::FileExists(listFile);
    std::string mainDigest;
    if (haveList) {
        digests.LoadFromFile(listFile);
        digests.First();
        digests.Locate("NMARQUIVO", orb::fw::Variant(std::string("ZEP.EXE")), orb::fw::loCaseInsensitive);
        if (!digests.IsEmpty()) mainDigest = digests.FieldByName("NUMEROMD5").AsString();
    }
    Print(scheme, "Principal Exe : " + Deciphered(paf, "NMEXETAMBORA") + "\n");
    Print(scheme, "MD5           : " + mainDigest + "\n\n");
    if (haveList) {
        digests.LoadFromFile(listFile);
        Print(scheme, CP("Relação de Arquivos\n"));
        Print(scheme, Dashes() + "\n\n");
        for (digests.First(); !digests.Eof(); digests.Next()) {
            Print(scheme, "Arquivo: " + digests.FieldByName("DSARQUIVO").AsString() + "\n");
            Print(scheme, "MD5    : " + digests.FieldByName("NUMEROMD5").AsString() + "\n\n");
        }
    }
    const std::string configFile = HostFile("Tambora.cds");
    if (orb::platform::FileExists(configFile)) {
        ClientDataSet config("cdsTambora");
        config.LoadFromFile(configFile);
        Print(scheme, "Arquivo Texto : ARQUIVOSZEPMD5.TXT\n");
        Print(scheme, "MD-5          : " + Deciphered(config, "MD5ARQUIVOTXT") + "\n\n");
    }
}

}  // namespace

void ImprimeDadosPaf(std::span<const orb::fw::Variant> params, orb::fw::Variant& /*result*/) {
    const std::string scheme = Param(params, 2);
    bool opened = false;
    try {
        TdtmBematech100& dm = EnsureDataModule();
        const std::string counterId1 = Param(params, 0), counterId2 = Param(params, 1);
        LoadPacket(dm.cdsDadosPaf, params.size() > 3 ? params[3] : orb::fw::Variant());
        LoadPacket(dm.cdsBuscaNrSerieEcf, params.size() > 4 ? params[4] : orb::fw::Variant());
        opened = Abre_RelGerencial_MFD(scheme, counterId1, counterId2, Param(params, 6), "") ||
                 Relatorio_Gerencial_Imp(scheme, counterId1, counterId2, "", "");
        PrintIdentification(scheme, dm.cdsDadosPaf);
        PrintFiles(scheme, dm.cdsDadosPaf, dm.cdsArquivosZepMd5);
        Print(scheme, "Versao ER PAF-ECF: 02.06\n\n");
        ClientDataSet& printers = dm.cdsBuscaNrSerieEcf;
        if (!printers.IsEmpty()) {
            Print(scheme, CP("Relação de Ecf's\n"));
            Print(scheme, Dashes() + "\n\n");
            for (printers.First(); !printers.Eof(); printers.Next())
                Print(scheme, printers.FieldByName("NRSERIEIMPRPERS").AsString() + "\n");
        }
        opened = false;
        if (FechRelatGerenc(scheme, true, false)) GravaDocumentosNaoFiscais(Param(params, 5), scheme, "RG", "", "");
    } catch (const std::exception& e) {
        orb::hostlib::Inform(scheme, e.what(), orb::hostlib::DialogKind::Error);
        // A report left open would refuse every document after it.
        try {
            if (opened) FechRelatGerenc(scheme, true, false);
        } catch (const std::exception&) {
            // The printer's own failure was shown by the closing; the first one by the dialog.
        }
    }
}

void ImprimeParametrosConfig(const std::string& scheme, const std::string& counterId1, const std::string& counterId2) {
    EnsureDataModule();
    Relatorio_Gerencial_Imp(scheme, counterId1, counterId2, "", "");
    const std::string text =
        Ln(CP("          Parâmetros de Configuração")) + Ln(orb::hostlib::Replicate("=", kLineWidth)) +
        Ln(CP("Configuração")) + Ln(Dashes()) + Ln() + Ln("Funcionalidades") +
        Ln(PadR("Tipo de funcionamento:", 22) + PadL("Em Rede", 15)) +
        Ln(PadR("Tipo de desenvolvimento:", 24) + PadL(CP("Comercializável"), 20)) +
        Ln(PadR(CP("Integração do PAF-ECF:"), 22) + PadL("Retaguarda", 20)) + Ln() +
        Ln(CP("Parâmetros para Não Concomitância")) + Ln(PadR(CP("Pré-Venda"), 9) + PadL(CP("Não"), 3)) +
        Ln(PadR("DAV por ECF", 11) + PadL(CP("Não"), 3)) +
        Ln(PadR(CP("DAV Impressora Não Fiscal"), 25) + PadL(CP("Não"), 3)) +
        Ln(PadR("DAV-OS", 6) + PadL(CP("Não"), 3)) + Ln();
    Print(scheme, text);
    FechRelatGerenc(scheme, true, false);
}

}  // namespace Orb00100
