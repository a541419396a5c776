#pragma once
// The data module: the two message catalogs and the in-memory tables. One instance, created
// on the first operation that needs it (EnsureDataModule) and never destroyed.
#include "driver/Globals.h"
#include "external/hostlib/HostLib.h"
#include "framework/ClientDataSet.h"

namespace Orb00100 {

class TdtmBematech100 {
public:
    TdtmBematech100();

    orb::hostlib::TMessages msgPadrao;
    orb::hostlib::TMessages msgPadrao2;

    // Tables, by owning subsystem. Each owner gives its table fields when it first needs them.
    orb::fw::ClientDataSet cdsAliqImpFis{"cdsAliqImpFis"};
    orb::fw::ClientDataSet cdsReceb{"cdsReceb"};
    orb::fw::ClientDataSet cdsMovCaixa{"cdsMovCaixa"}, cdsMovCaixaTef{"cdsMovCaixaTef"}, cdsRecebAux{"cdsRecebAux"},
        cdsRodape{"cdsRodape"}, cdsVazio{"cdsVazio"};
    orb::fw::ClientDataSet cdsSaldCred{"cdsSaldCred"}, cdsFamiliaSaldo{"cdsFamiliaSaldo"},
        cdsEmprestimo{"cdsEmprestimo"}, cdsVrSaldConsumi{"cdsVrSaldConsumi"};
    orb::fw::ClientDataSet cdsMovFecha{"cdsMovFecha"}, cdsSangria{"cdsSangria"}, cdsOperadorSup{"cdsOperadorSup"},
        cdsTipoReceAux{"cdsTipoReceAux"}, cdsMovAbertura{"cdsMovAbertura"}, cdsMovTot{"cdsMovTot"};
    orb::fw::ClientDataSet cdsImposto{"cdsImposto"}, cdsImpostoRedZ{"cdsImpostoRedZ"};
    orb::fw::ClientDataSet cdsTipoRece{"cdsTipoRece"}, cdsReducaoZ{"cdsReducaoZ"}, cdsFormPgtoRedZ{"cdsFormPgtoRedZ"},
        cdsTotNFiscRedZ{"cdsTotNFiscRedZ"};
    orb::fw::ClientDataSet cdsParametros{"cdsParametros"};
    orb::fw::ClientDataSet cdsDadosPaf{"cdsDadosPaf"}, cdsBuscaNrSerieEcf{"cdsBuscaNrSerieEcf"},
        cdsArquivosZepMd5{"cdsArquivosZepMd5"};
    orb::fw::ClientDataSet cdsParcProdutos{"cdsParcProdutos"}, cdsTeste{"cdsTeste"}, cdsItemsReg{"cdsItemsReg"};
    orb::fw::ClientDataSet cdsProdVend{"cdsProdVend"}, cdsAliqProduto{"cdsAliqProduto"},
        cdsMesaAberOrb{"cdsMesaAberOrb"}, cdsProdutoTransf{"cdsProdutoTransf"};
    orb::fw::ClientDataSet cdsProdDeb{"cdsProdDeb"}, cdsProdCred{"cdsProdCred"};
    orb::fw::ClientDataSet cdsUltTef{"cdsUltTef"};
    orb::fw::ClientDataSet cdsCheckECF{"cdsCheckECF"};
};

// Creates the data module when it does not exist yet.
TdtmBematech100& EnsureDataModule();
// The data module of an operation that does not create it: raises when none exists
// (an operation called before StartImpFiscal cannot reach the catalogs).
TdtmBematech100& DataModule();

}  // namespace Orb00100
