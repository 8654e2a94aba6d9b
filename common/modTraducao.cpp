// The numbered message table. The texts are kept exactly as the program has always shown
// them, slips included ("Non foi posible", "Exclución").
#include "common/modTraducao.h"

#include "common/Modulo.h"

#include <cstddef>

namespace {

struct Mensagem {
    long numero;
    const char* portugues;
    const char* espanhol;
    const char* ingles;
};

// One row per number, 0 to the last; a row without texts is a number the program never uses.
// Months are 13 (January) to 24 (December).
constexpr Mensagem Mensagens[] = {
    {0, "Catálogo ZORNAK", "Catálogo ZORNAK", "ZORNAK Part List"},
    {1, "Erro Nº", "Erro Nº", "Err Nr."},
    {2,
        "Incluir Produto no Carrinho",
        "Incluir el producto en Carrito",
        "Include Product in the Cart"},
    {3, "Observação", "Observación", "Note"},
    {4, nullptr, nullptr, nullptr},       // unused
    {5, "Nenhum Item Encontrado", "Ningún Item Encontrado", "No Item Found"},
    {6, "Referência", "Referencia", "Reference"},
    {7, "Todos", "Todos", "All"},
    {8, "Figura", "Figura", "Picture"},
    {9, "Lista", "Lista", "List"},
    {10,
        "Para Pesquisar, selecione uma Referência (acima), depois informe o Nº",
        "Para buscar, selecciona una referencia (arriba), después informa el Nº",
        "To search, select a Reference (above), later inform the Nº"},
    {11,
        "Nenhuma Referência Selecionada",
        "Ninguna Referencia Seleccionada",
        "No Selected Reference"},
    {12, "Não Aplicavel", "No se Aplica", "Not Applicable"},
    {13, "JAN", "ENE", "JAN"},
    {14, "FEV", "FEB", "FEB"},
    {15, "MAR", "MAR", "MAR"},
    {16, "ABR", "ABR", "APR"},
    {17, "MAI", "MAY", "MAY"},
    {18, "JUN", "JUN", "JUN"},
    {19, "JUL", "JUL", "JUL"},
    {20, "AGO", "AGO", "AUG"},
    {21, "SET", "SEP", "SEP"},
    {22, "OUT", "OCT", "OCT"},
    {23, "NOV", "NOV", "NOV"},
    {24, "DEZ", "DIC", "DEC"},
    {25, nullptr, nullptr, nullptr},      // unused
    {26, nullptr, nullptr, nullptr},      // unused
    {27, "Aplicação", "Aplicación", "Application"},
    {28,
        "Incluir Todos os Produtos da Lista no Carrinho",
        "Incluir todos los productos de la lista en Carrito",
        "Include All the Products of the List in the Cart"},
    {29, "Conjuntos do Veículo", "Sistemas del Vehículo", "Sets of the Vehicle"},
    {30, "Fabricante", "Fabricante", "Manufacturer"},
    {31, "Não Possui Figura", "No Posee el Figura", "There is no Picture"},
    {32, "Nº ZORNAK", "Nº ZORNAK", "ZORNAK Nr."},
    {33, "Excluir", "Exclución", "Delete"},
    {34, "Aumentar Quantidade", "Aumentar Cantidad", "Increase Amount"},
    {35, "Diminuir Quantidade", "Disminuir Cantidad", "Diminish Amount"},
    {36, "Carrinho", "Carrito", "Cart"},
    {37, "Ajuda", "Ayuda", "Help"},
    {38, "Minimizar", "Minimizar", "Minimize"},
    {39, "Ordenar por", "Ordenar por", "Order by"},
    {40, "Descrição", "Descripción", "Description"},
    {41, "Nº", "Nº", "Nr."},
    {42, "Nº Referência", "Nº Referencia", "Reference Nr."},
    {43, "Grupo", "Grupo", "Group"},
    {44, "Obs", "Obs", "Note"},
    {45, "Tipo", "Tipo", "Type"},
    {46, "Fig", "Fig", "Pic"},
    {47, "Sair", "Salir", "Exit"},
    {48, "Inicio", "Inicio", "Home"},
    {49, "Verificar Atualizações", "Verificar Actualizaciones", "Verify Updates"},
    {50, "Configurações", "Configuraciones", "Configurations"},
    {51, "Item Fig", "Item Fig", "Pic Item"},
    {52, "Aplic", "Aplic", "Applic"},
    {53, "Principal", "Principal", "Main"},
    {54, "Produtos", "Productos", "Products"},
    {55, "Confirma?", "¿Confirma?", "Confirms?"},
    {56, "Página |1| de |2|", "Página |1| de |2|", "Page |1| of |2|"},
    {57, "Imprimir", "Imprimir", "Print"},
    {58, "Voltar", "Volver", "Back"},
    {59, "Qtd", "Ctd", "Qty"},
    {60, "Quantidade", "Cantidad", "Quantity"},
    {61, "Página", "Página", "Page"},
    {62,
        "Próxima Página: Clique no botão Direito do Mouse",
        "Página Siguiente: Clic en el botón derecho del ratón",
        "Next Page: Click in the Right button of the Mouse"},
    {63,
        "Figura Não Disponível para essa Aplicação",
        "Figura No Disponible para esta Aplicación",
        "Not Available figure for this Application"},
    {64, "Botão Direito", "Botón Derecho", "Right Button"},
    {65, "Botão Esquerdo", "Botón Izquierdo", "Left Button"},
    {66,
        "Existem Novas Atualizações. Deseja Instalar agora?",
        "Existen Nuevas Actualizaciones. ¿Desea instálelas ahora?",
        "New Updates Exist. Install now?"},
    {67,
        "Não existem Novas Atualizações",
        "No existen Nuevas Actualizaciones",
        "New Updates do not exist"},
    {68,
        "Não foi possível Bloquear o Banco de Dados. (Outro Computador, de sua rede, já está "
        "Atualizando o Catálogo)",
        "Non foi posible bloquear la base de datos. (Otra Computadora, de la su red, ya está "
        "actualizando el Catálogo)",
        "It was not possible To block the Data Base. (Another Computer, of its net, already Is "
        "update the Part List)"},
    {69,
        "Erro ao tentar Verificar Atualizações",
        "Error al intentar Verificar Actualizaciones",
        "Error when trying To verify Updates"},
    {70,
        "Requer acesso à Internet",
        "Necesita el acceso a Internet",
        "It requires access to the InterNet"},
    {71,
        "ERRO na Última Verificação",
        "ERROR en la Última Verificación",
        "ERROR in the Last Verification"},
    {72,
        "Atualização Concluída com Sucesso",
        "Actualización Concluida con Éxito",
        "Successfully Concluded Update"},
    {73,
        "Obtendo Listas de Atualizações",
        "Obteniendo Listas de Actualizaciones",
        "Getting Lists of Updates"},
    {74, "Download dos Arquivos", "Download de los Archivos", "Download Files"},
    {75, "Copiando Arquivos", "Copiando Archivos", "Copying Files"},
    {76, "Atualizando Banco de Dados", "Actualizando la Base de Datos", "Updating Data Base"},
    {77, "Última Atualização", "Última Actualización", "Last Update"},
    {78, "Última Verificação", "Última Verificación", "Last Verification"},
    {79,
        "Verificar se existem Novas Atualizações",
        "Verificar si existen Nuevas Actualizaciones",
        "Verify if New Updates exist"},
    {80,
        "Verificar Atualizações Automaticamente",
        "Verificar Actualizaciones Automáticamente",
        "Verify Updates Automatically"},
    {81, "Autenticação de Proxy HTTP", "Autenticación de Proxy HTTP", "HTTP Proxy Authentication"},
    {82, "Usuário", "Usuario", "UserName"},
    {83, "Senha", "Seña", "Password"},
    {84, "Ok", "Ok", "Ok"},
    {85, "Gerar Arquivo", "Generar Archivo", "Create File"},
    {86, "Enviar E-Mail", "Enviar E-Mail", "Send E-Mail"},
    {87,
        "Arquivo \"|1|\" gerado com Sucesso",
        "Archivo \"|1|\" grabado con Exito",
        "File \"|1|\" Successfully Saved"},
    {88, "Lançamentos", "Lanzamientos", "Launches"},
    {89, "Veículos", "Vehículos", "Vehicles"},
    {90, "Existem Novos Lançamentos", "Existen Nuevos Lanzamientos", "New Launches Exist"},
    {91, "Lançamento", "Lanzamiento", "Launch"},
    {92, "Substituído por", "Sustituido por", "Replaced by"},
};

constexpr std::size_t QuantidadeMensagens = sizeof(Mensagens) / sizeof(Mensagens[0]);

constexpr bool NumerosEmOrdem() {
    for (std::size_t i = 0; i < QuantidadeMensagens; ++i)
        if (Mensagens[i].numero != static_cast<long>(i)) return false;
    return true;
}
static_assert(NumerosEmOrdem(), "each row sits at the index of its number");
static_assert(QuantidadeMensagens == 93, "messages 0 to 92");

}  // namespace

std::string Traduz(long numero, const std::string& idioma) {
    if (numero < 0 || numero >= static_cast<long>(QuantidadeMensagens)) return {};
    const Mensagem& m = Mensagens[numero];
    const std::string& letra = idioma.empty() ? EstadoPrograma.Idioma : idioma;
    const char* texto = nullptr;
    if (letra == "P")
        texto = m.portugues;
    else if (letra == "E")
        texto = m.espanhol;
    else if (letra == "I")
        texto = m.ingles;
    return texto ? std::string(texto) : std::string();
}
