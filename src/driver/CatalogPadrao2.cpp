// The file-generation (COTEPE) messages and a few receipt labels, in catalog order.
#include <array>

#include "driver/Catalogs.h"
#include "framework/Cp1252.h"

namespace Orb00100 {

namespace {

struct Line {
    const char* key;
    const char* text;  // UTF-8 here; stored as code page 1252
};

constexpr auto kPadrao2 = std::to_array<Line>({
    {"Erro_Detectar", "Impressora não detectada para a geração do arquivo COTEPE."},
    {"Erro_FechaPorta",
     "Erro ao fechar porta da impressora fiscal, isso impossibilitará a geração do  arquivo COTEPE, favor verificar "
     "impressora fiscal"},
    {"Erro_SWMFD",
     "Não foi encontrado o arquivo SWMFD.dll, isso impossibilitará a geração do  arquivo COTEPE, favor verificar se o "
     "arquivo se encontra no diretório."},
    {"Erro_Data", "Data inválida! Isso impossibilitará a geração do  arquivo COTEPE."},
    {"Erro_Faixa", "Faixa inválida! Isso impossibilitará a geração do  arquivo COTEPE."},
    {"Erro_ArqOri", "Falha na abertura do arquivo de origem. Isso impossibilitará a geração do  arquivo COTEPE."},
    {"Erro_ArqDes", "Falha na abertura do arquivo de destino. Isso impossibilitará a geração do  arquivo COTEPE."},
    {"Erro_AberLog", "Falha de abertura do arquivo log!"},
    {"Erro_100", "O número de arquivos excede a capacidade da fila! (100 arquivos)"},
    {"Erro_Arq_NEnc", "Nenhum arquivo encontrado! (opção: opArquivosPasta)"},
    {"Erro_Arq_Sel", "Nenhum arquivo selecionado! (opção: opListaEmArquivo)"},
    {"Erro_Arq_Ori", "Arquivo não encontrado! (Origem)"},
    {"Erro_Memoria", "Memória insuficiente!"},
    {"Erro_temporario", "Falha em arquivo temporário!"},
    {"Erro_Arq_Sai", "Não foi possível abrir o arquivo de saída!"},
    {"Erro_invalido", "Arquivo inválido!"},
    {"Erro_Instancia", "Falha na criação da instância!"},
    {"Erro_Mes", "O mês selecionado não está encerrado!"},
    {"Erro_Insuficiente", "Buffer insuficiente"},
    {"Erro_Gravacao", "Falha de gravação!"},
    {"Erro_Timeout", "Falha de comunicação com o ECF (Timeout)"},
    {"Erro_Off_line", "ECF off-line ou não detectado!"},
    {"Erro_tampa_imp", "Tampa da impressora fiscal aberta!"},
    {"Erro_sem_papel", "Impressora fiscal sem papel!"},
    {"Erro_bobina", "Troque a bobina da impressora fiscal!"},
    {"Erro_sintaxe", "Erro de sintaxe! Verifique os parâmetros."},
    {"Erro_Comando_Inv", "Comando inválido!"},
    {"Erro_Execucao", "Falha na execução do comando fiscal!"},
    {"Erro_Aplicativo",
     "O aplicativo é incompatível com o arquivo deste modelo de ECF ou com a versão de seu software básico!"},
    {"GER_COTEPE_OK", "Geração do arquivo COTEPE realizada com sucesso"},
    {"SALDO_FIN", "Saldo Final : %s"},
    {"NRCUPOM", "Nr.Cupom"},
    {"Data", "Data/Hora"},
    {"NRSERIE", "Nr.Serie"},
    {"NRDEPOSITO", "Nr.Deposito"},
    {"INSCMUNICIPAL", "Insc.Municipal"},
    {"INSCRICAOMUNICIPAL", "Inscricao Municipal"},
    {"DOTZ", "Nesta compra voce ganhou %s DOTZ"},
});

}  // namespace

void LoadCatalogPadrao2(orb::hostlib::TMessages& catalog) {
    for (const Line& line : kPadrao2) catalog.Add(line.key, CP(line.text));
}

}  // namespace Orb00100
