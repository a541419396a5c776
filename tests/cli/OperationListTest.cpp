// Every operation the module is to export, by name, held against what `orb help call` lists.
#include <set>
#include <sstream>

#include "CliTestSupport.h"

namespace orb::cli::testing {
namespace {

// clang-format off
const std::set<std::string> kAll = {
    "Abertura_Mesa", "Abre_Comp_NFiscalVinc", "Abre_Gaveta_Imp", "Abre_RelGerencial_MFD", "AbreCupom",
    "AbrePorta", "Acrescimo_Imp", "AnalisaRetorno", "Atu_TotGeral", "BuscaTotGer", "Cabecalho",
    "Cancela_Cred_Pessoal", "Cancela_Cupom_Imp", "Cancela_ItGenerico", "Cancela_UltimoItem", "Cancelamentos",
    "Carrega_Dados_Impressora", "CarregaAliquota", "CarregaRecebimento", "CarregaRelatorioGer",
    "CarregaTotalizador", "Codigo_Nacional_ECF", "CodigoBarra", "Comp_DebitoCons", "Compr_Cred_Bematech_MP100",
    "Compr_Cred_Bematech_NFISC", "Compr_CredPessoal", "Conferencia_Formatada", "Config_FormaPg",
    "ContadorComprovantesCreditoMFD", "ContadorCupomFiscalMFD", "ContadorRelatoriosGerenciaisMFD",
    "Cupom_NFiscNVinc", "Cupom_Troca", "DadosUltimaRedZ", "Data_Imp",
    "DataHoraGravacaoUsuarioSWBasicoMFAdicional", "DataMoviFiscal", "DefineParametrosImpressora", "Descontos",
    "EmiteLeituraMemoriaFiscal", "EmiteLeituraMemoriaFiscalSerial", "EnviaComando", "Estado_Gaveta_Imp",
    "Estado_HorVerao", "Estado_Imp", "EstornoNaoFiscal", "ExportRedZ", "Extrato", "FechaCupom", "FechaPorta",
    "FechRelatGerenc", "Formata_Bematech_MP100", "Formata_rodape", "FormataCNPJ", "Gera_ArquivoMFD", "GERA_MF",
    "GeraBinMes", "GeraCatGenerica", "geraEad", "geraEspelhoMfd", "GeraReciboSangria", "GeraRegistrosSpedMFD",
    "geraRegistroTipoE", "GetValue", "GravaDocumentosNaoFiscais", "Guilhotina", "Imp_CompVenCred",
    "ImpDebito_Consumidor", "ImpressoraOK", "Imprime_RelGerencial_MFD", "ImprimeDadosPaf",
    "ImprimeMesasAbertas", "ImprimeNaoFiscal", "ImprimeParametrosConfig", "ImprimeProdBloq",
    "imprimeProdutosTransf", "ImprimeTef", "imprimeTipoRece", "ImpSaldo", "ImpSaldoDeb", "InfImpTerm",
    "IsentoCompos", "IsentoSimpl", "Leitura_Totais_Imp", "Leitura_X_Imp", "Memoria_Fiscal_Imp",
    "Modelo_Impressora", "Muda_Horario", "Nomeia_TotParcial_Bematech", "Nr_Cupom", "Numero_de_Serie",
    "NumeroIntervencoes", "NumeroOperacoesNaoFiscais", "NumeroReducoes", "NumeroSubstituicoesProprietario",
    "Parcial_BematechNFiscal", "Reducao_Z_Imp", "RegistroVenda", "Relatorio_Generico",
    "Relatorio_Gerencial_Imp", "Relatorio_Produto", "RelatorioSintegraMFD", "RetornaDadosSintegraMFD",
    "RetornaDataUltimaReducao", "RetornaGtAtual", "RetornaGtUltimaReducao", "RetornaImpostoIcms",
    "retornaPathBematech", "Retorno_Aliquotas_Imp", "RetornoImpFiscal", "Saldo_CredPessoal", "SaldoNegativo",
    "Sangria", "StartImpFiscal", "StopImpFiscal", "Suprimento", "Usa_CompNFis", "VendaBruta", "VendaItem",
    "VerificaData", "Versao_Software_Basico"};
// clang-format on

TEST_F(OrbProcessTest, HelpListsEveryOperation) {
    const OrbRun help = Orb({"help", "call"});
    ASSERT_EQ(help.status, 0) << help.err;
    std::istringstream lines(help.out.substr(help.out.find("Operations (")));
    std::string line;
    std::getline(lines, line);
    std::set<std::string> listed;
    while (std::getline(lines, line) && line.rfind("  ", 0) == 0) listed.insert(line.substr(2, line.find('(') - 2));

    EXPECT_EQ(kAll.size(), 122u);
    EXPECT_EQ(listed, kAll);
    EXPECT_NE(help.out.find("Operations (122):"), std::string::npos);
}

}  // namespace
}  // namespace orb::cli::testing
